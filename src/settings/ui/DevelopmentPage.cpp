#include "settings/ui/DevelopmentPage.h"

#include "platform/UserDefaults.h"
#include "platform/Workspace.h"
#include "qtshared/ProblemCaption.h"
#include "qtshared/QtText.h"
#include "settings/AboutInfo.h"
#include "settings/DevelopmentDefaults.h"
#include "settings/ui/SettingLabel.h"
#include "settings/ui/SettingsText.h"
#include "store/ConfigStore.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace rondelix {

namespace {

using Copy = DiagnosticsDelivery::CopyState;
using Email = DiagnosticsDelivery::EmailState;

struct Face {
    const char* title;
    const char* symbol;
};

Face copyFace(Copy state) {
    switch (state) {
    case Copy::gathering:
        return {"Gathering…", "hourglass"};
    case Copy::copied:
        return {"Copied", "checkmark"};
    case Copy::idle:
        break;
    }
    return {"Copy Diagnostics", "stethoscope"};
}

Face emailFace(Email state) {
    switch (state) {
    case Email::gathering:
        return {"Preparing…", "hourglass"};
    case Email::opened:
        return {"Mail opened", "checkmark"};
    case Email::copied:
        return {"Copied to clipboard", "doc.on.clipboard"};
    case Email::notOpened:
        return {"No mail program opened", "exclamationmark.triangle"};
    case Email::idle:
        break;
    }
    return {"Email Diagnostics", "envelope"};
}

// The icon greys with the button whatever its state at the time.
void showFace(QPushButton* button, Face face) {
    button->setText(face.title);
    SettingsText::setSymbol(*button, face.symbol);
}

QPushButton* button(Face face, QWidget* parent) {
    auto* b = new QPushButton(parent);
    b->setIconSize(QSize(16, 16));
    showFace(b, face);
    return b;
}

QLabel* caption(QWidget* parent) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    QPalette secondary = label->palette();
    secondary.setColor(QPalette::WindowText, secondary.color(QPalette::PlaceholderText));
    label->setPalette(secondary);
    label->setWordWrap(true);
    label->hide();
    return label;
}

// Buttons side by side at the row's start.
QWidget* buttonRow(std::initializer_list<QWidget*> buttons, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* b : buttons)
        layout->addWidget(b);
    layout->addStretch(1);
    return row;
}

} // namespace

DevelopmentPage::DevelopmentPage(Services services, QWidget* parent)
    : SettingsPage(services.store, parent), services_(std::move(services)),
      delivery_(services_.delivery, services_.diagnostics), roulette_(services_.roulette) {
    setObjectName("developmentPage");
    addDiagnostics();
    addUpdates();
    addConfigTools();
    addExperiments();
    deliveryConnection_ = delivery_.changed.connectScoped([this] { refreshStates(); });
    rouletteConnection_ = roulette_.changed.connectScoped([this] { refreshStates(); });
    if (services_.demo)
        demoConnection_ = services_.demo->runningChanged.connectScoped([this] { refreshStates(); });
    onRefresh([this] { textCaret_->setChecked(TextCaretSwitch::isOn(store_.config())); });
    refreshStates();
}

DevelopmentPage::~DevelopmentPage() = default;

void DevelopmentPage::addDiagnostics() {
    QVBoxLayout* section = addSection("Diagnostics");
    copyButton_ = button(copyFace(Copy::idle), this);
    copyButton_->setObjectName("copyDiagnostics");
    emailButton_ = button(emailFace(Email::idle), this);
    emailButton_->setObjectName("emailDiagnostics");
    connect(copyButton_, &QPushButton::clicked, this, [this] { delivery_.copy(); });
    connect(emailButton_, &QPushButton::clicked, this, [this] { delivery_.email(); });
    section->addWidget(buttonRow({copyButton_, emailButton_}, this));
    unsentNote_ = caption(this);
    unsentNote_->setObjectName("unsentReport");
    unsentNote_->setTextFormat(Qt::PlainText);
    unsentNote_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    section->addWidget(unsentNote_);
}

// The program does not update itself, so there is no update to check for or
// install here: the section says where updates come from.
void DevelopmentPage::addUpdates() {
    QVBoxLayout* section = addSection("Updates");
    auto* from = new QLabel(toQString(AboutInfo::updatesFromSystem), this);
    from->setObjectName("updatesFromSystem");
    from->setTextFormat(Qt::PlainText);
    from->setWordWrap(true);
    SettingsText::setColour(*from, SettingsText::secondary(*from));
    section->addWidget(from);
}

void DevelopmentPage::addConfigTools() {
    QVBoxLayout* section = addSection("Config");
    auto* reveal = new QPushButton("Show config.json in File Manager", this);
    auto* reload = new QPushButton("Reload From Disk", this);
    auto* restore = new QPushButton("Restore From Backup", this);
    restore->setObjectName("restoreFromBackup");
    restoreResult_ = caption(this);
    restoreResult_->setObjectName("restoreResult");
    auto* resetOnboarding = new QPushButton("Reset Onboarding", this);
    auto* relock = new QPushButton("Re-lock Development", this);
    relock->setObjectName("relock");
    auto* revealProblem = new ProblemCaption("revealProblem", this);
    connect(reveal, &QPushButton::clicked, this, [this, revealProblem] {
        revealProblem->say(std::nullopt);
        services_.workspace.revealFile(
            store_.paths().config.string(),
            [shown = QPointer<ProblemCaption>(revealProblem),
             file = store_.paths().config.string()](platform::Revealed revealed) {
                if (!shown) return;
                if (revealed == platform::Revealed::folderOpened)
                    shown->say("Your file manager can't select a file, so it opened the folder that holds "
                               "config.json.");
                else if (revealed == platform::Revealed::nothing)
                    shown->say("No file manager opened. config.json is at " + file + ".");
            });
    });
    connect(reload, &QPushButton::clicked, this, [this] { store_.reloadFromDiskIfChanged(); });
    connect(restore, &QPushButton::clicked, this, [this] {
        const bool restored = store_.restoreFromBackup();
        restoreResult_->setText(!restored             ? "No readable backup found."
                                : store_.isReadOnly() ? "Restored from config.json.bak until you quit: "
                                                        "changes can't be saved."
                                                      : "Restored from config.json.bak.");
        restoreResult_->show();
    });
    connect(resetOnboarding, &QPushButton::clicked, this, [this] { services_.resetOnboarding(); });
    connect(relock, &QPushButton::clicked, this, [this] { services_.relock(); });
    // The lines under the buttons take the row's width, so that they wrap
    // there and get the height their lines need.
    for (QWidget* w : std::initializer_list<QWidget*>{reveal, revealProblem, reload, restore, restoreResult_,
                                                      resetOnboarding, relock})
        section->addWidget(w, 0, w == revealProblem || w == restoreResult_ ? Qt::Alignment() : Qt::AlignLeft);
}

void DevelopmentPage::addExperiments() {
    QVBoxLayout* section = addSection("Experimental");
    textCaret_ = new QCheckBox(this);
    textCaret_->setObjectName("textCaret");
    addLabeledRow(
        section,
        {"Open wheel at text cursor", "text.cursor",
         "May not work in every app. It uses Accessibility to find the text caret; apps that don't report "
         "it (Electron, terminals, some editors) fall back to the pointer."},
        textCaret_);
    connect(textCaret_, &QCheckBox::clicked, this, [this](bool on) { setTextCaret(on); });

    auto* nothing = new QCheckBox(this);
    nothing->setChecked(services_.defaults.get(DevelopmentDefaults::doesNothing));
    nothing->setToolTip("It really does nothing.");
    addLabeledRow(section, {"Does Nothing", "", std::nullopt}, nothing)
        ->setToolTip("It really does nothing.");
    connect(nothing, &QCheckBox::toggled, this,
            [this](bool on) { services_.defaults.set(DevelopmentDefaults::doesNothing, on); });

    auto* roulette = new QWidget(this);
    roulette->setToolTip("Spins the cylinder and FIRES one random slice from a random wheel. No take-backs.");
    auto* rouletteLayout = new QVBoxLayout(roulette);
    rouletteLayout->setContentsMargins(0, 0, 0, 0);
    rouletteButton_ = button({"Macro Roulette", "dice.fill"}, roulette);
    rouletteButton_->setObjectName("roulette");
    rouletteResult_ = caption(roulette);
    rouletteResult_->setObjectName("rouletteResult");
    rouletteLayout->addWidget(rouletteButton_, 0, Qt::AlignLeft);
    rouletteLayout->addWidget(rouletteResult_);
    connect(rouletteButton_, &QPushButton::clicked, this, [this] { roulette_.spin(); });
    section->addWidget(roulette);

    demoButton_ = button({"Play Demo Choreography", "movieclapper"}, this);
    demoButton_->setObjectName("demo");
    demoButton_->setToolTip(
        "Plays a scripted wheel demo for recording a video. It really fires: it opens a notes app, "
        "types text and toggles dark mode. Five demo wheels stand in for your wheels during the "
        "run; yours come back after.");
    connect(demoButton_, &QPushButton::clicked, this, [this] {
        if (!services_.demo) return;
        if (services_.demo->isRunning())
            services_.demo->cancel();
        else
            services_.demo->play("all");
    });
    section->addWidget(demoButton_, 0, Qt::AlignLeft);
}

void DevelopmentPage::setTextCaret(bool on) {
    const auto key = DevelopmentDefaults::positionBeforeTextCaret;
    const std::optional<std::string> remembered = services_.defaults.get(key);
    if (on) {
        std::optional<std::string> keep;
        store_.mutate([&](Config& config) { keep = TextCaretSwitch::turnOn(config, remembered); });
        if (keep && keep != remembered) services_.defaults.set(key, *keep);
    } else {
        store_.mutate([&](Config& config) { TextCaretSwitch::turnOff(config, remembered); });
    }
}

void DevelopmentPage::refreshStates() {
    showFace(copyButton_, copyFace(delivery_.copyState()));
    showFace(emailButton_, emailFace(delivery_.emailState()));
    copyButton_->setEnabled(!delivery_.busy());
    emailButton_->setEnabled(!delivery_.busy());
    const auto& unsent = delivery_.unsentReport();
    unsentNote_->setVisible(unsent.has_value());
    if (unsent)
        unsentNote_->setText("No mail program opened. The report is in " +
                             QString::fromStdString(unsent->string()) + ".");

    showFace(rouletteButton_, {roulette_.spinning() ? "Spinning…" : "Macro Roulette", "dice.fill"});
    rouletteButton_->setEnabled(!roulette_.spinning());
    rouletteResult_->setText(QString::fromStdString(roulette_.result().value_or("")));
    rouletteResult_->setVisible(roulette_.result().has_value());

    const bool running = services_.demo && services_.demo->isRunning();
    showFace(demoButton_,
             running ? Face{"Stop Demo", "stop.fill"} : Face{"Play Demo Choreography", "movieclapper"});
    demoButton_->setEnabled(services_.demo.has_value());
}

} // namespace rondelix
