#include "guides/ui/ShortcutSetupView.h"

#include "guides/ui/GuideText.h"
#include "icons/ui/SymbolFont.h"
#include "model/AutomationWords.h"
#include "model/SystemColors.h"
#include "qtshared/ProminentButton.h"
#include "qtshared/QtColor.h"
#include "qtshared/SecondaryText.h"

#include <QApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPen>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>
#include <QVariantAnimation>
#include <algorithm>

namespace rondelix {

namespace {

// One frame of a small busy spinner: three quarters of a ring, turned.
QIcon spinnerFrame(double angle) {
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap frame(QSize(14, 14) * ratio);
    frame.setDevicePixelRatio(ratio);
    frame.fill(Qt::transparent);
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(qApp->palette().color(QPalette::Disabled, QPalette::ButtonText), 2, Qt::SolidLine,
                        Qt::RoundCap));
    painter.drawArc(QRectF(2, 2, 10, 10), qRound(-angle * 16), 270 * 16);
    QIcon icon;
    icon.addPixmap(frame, QIcon::Disabled);
    icon.addPixmap(frame, QIcon::Normal);
    return icon;
}

using Status = ShortcutSetup::Status;

// Texts here read from the left.
QLabel* text(const QString& value, int pixels, bool bold = false) {
    auto* l = GuideText::label(value, pixels, bold);
    l->setAlignment(Qt::AlignLeft);
    l->setTextFormat(Qt::PlainText);
    return l;
}

using GuideText::secondary;

// The step numbers are drawn in the accent, made readable on what they stand on.
void colourStepNumbers(QWidget& steps, const Color& accent, const QColor& background) {
    const QString style = textColorStyle(accent, background);
    for (QLabel* number : steps.findChildren<QLabel*>("stepNumber"))
        number->setStyleSheet(style);
}

// Numbered rows that wrap, never cut short.
QWidget* numberedSteps(const std::vector<std::string>& steps) {
    auto* block = new QWidget;
    auto* layout = new QVBoxLayout(block);
    layout->setContentsMargins(2, 2, 0, 0);
    layout->setSpacing(6);
    int number = 1;
    for (const auto& step : steps) {
        auto* row = new QHBoxLayout;
        row->setSpacing(8);
        auto* n = text(QString::number(number++) + ".", GuideText::callout);
        n->setObjectName("stepNumber");
        row->addWidget(n, 0, Qt::AlignTop);
        row->addWidget(text(QString::fromStdString(step), GuideText::callout), 1);
        layout->addLayout(row);
    }
    return block;
}

std::vector<std::string> writingYourOwn(const std::string& folder) {
    return {
        "Open the " + std::string(AutomationWords::plural) + " folder (" + folder + ").",
        "Make a file there named exactly like the " + std::string(AutomationWords::singular) +
            " a card names, for example \u201CToggle Bluetooth\u201D.",
        "Write the script or program that performs the action; an exit status other than 0 tells Rondelix "
        "it failed.",
        "Make the file executable (chmod +x), then click Re-check."};
}

} // namespace

ShortcutSetupView::ShortcutSetupView(ShortcutSetupHost host, std::optional<std::string> highlight,
                                     Actions actions, QWidget* parent)
    : QWidget(parent), setup_(std::make_unique<ShortcutSetup>(std::move(host), std::move(highlight))),
      actions_(std::move(actions)) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* header = new QVBoxLayout;
    header->setContentsMargins(38, 44, 38, 18);
    header->setSpacing(8);
    auto* symbol = text("\u21C4", 40, true);
    symbol->setAlignment(Qt::AlignHCenter);
    headerSymbol_ = symbol;
    auto* title = text("System Action Setup", GuideText::title, true);
    title->setAlignment(Qt::AlignHCenter);
    auto* intro =
        secondary(text("A few desktop toggles can only be controlled through an automation. Set each one "
                       "up once and the matching wheel slice works forever.",
                       GuideText::callout));
    intro->setAlignment(Qt::AlignHCenter);
    header->addWidget(symbol);
    header->addWidget(title);
    header->addWidget(intro);
    outer->addLayout(header);

    auto* scroll = new QScrollArea(this);
    scroll_ = scroll;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* list = new QWidget;
    auto* listLayout = new QVBoxLayout(list);
    listLayout->setContentsMargins(28, 0, 28, 18);
    listLayout->setSpacing(14);
    cardsLayout_ = new QVBoxLayout;
    cardsLayout_->setSpacing(14);
    listLayout->addLayout(cardsLayout_);
    ownSteps_ = numberedSteps(writingYourOwn(setup_->automationsFolderShown()));
    ownSteps_->setObjectName("writeYourOwnSteps");
    ownSteps_->hide();
    listLayout->addWidget(ownSteps_);
    listLayout->addStretch(1);
    scroll->setWidget(list);
    outer->addWidget(scroll, 1);

    auto* howTo = new QPushButton("&How to write your own", this);
    howTo->setObjectName("writeYourOwn");
    howTo->setFlat(true);
    howTo->setCursor(Qt::PointingHandCursor);
    connect(howTo, &QPushButton::clicked, this, [this] { ownSteps_->setVisible(!ownSteps_->isVisible()); });
    outer->addWidget(howTo, 0, Qt::AlignHCenter);

    message_ = text({}, GuideText::callout);
    message_->setObjectName("setupMessage");
    message_->setStyleSheet(textColorStyle(SystemColors::red, palette().color(QPalette::Window)));
    message_->setContentsMargins(28, 8, 28, 0);
    message_->hide();
    outer->addWidget(message_);

    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(28, 18, 28, 18);
    recheck_ = new QPushButton(this);
    recheck_->setObjectName("recheckButton");
    connect(recheck_, &QPushButton::clicked, this, [this] { setup_->recheck(); });
    spin_ = new QVariantAnimation(this);
    spin_->setStartValue(0.0);
    spin_->setEndValue(360.0);
    spin_->setDuration(900);
    spin_->setLoopCount(-1);
    connect(spin_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& angle) { recheck_->setIcon(spinnerFrame(angle.toDouble())); });
    auto* done = new QPushButton("&Done", this);
    done->setObjectName("doneButton");
    done->setDefault(true);
    done_ = done;
    connect(done, &QPushButton::clicked, this, [this] {
        if (actions_.close) actions_.close();
    });
    // Return closes the window, as its default button.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, done, &QPushButton::click);
    footer->addWidget(recheck_);
    footer->addStretch(1);
    footer->addWidget(done);
    outer->addLayout(footer);

    connection_ = setup_->changed.connectScoped([this] { render(); });
    render();
}

// The accent is the program's highlight colour: a new accent repaints the
// prominent buttons and the marks drawn in it.
void ShortcutSetupView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && done_) render();
}

void ShortcutSetupView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    setup_->shown();
}

void ShortcutSetupView::render() {
    // A button that goes with its card would hand the focus on down the list,
    // and the list would scroll after it: the list keeps the focus instead,
    // and the card just clicked stays in view.
    if (scroll_->widget()->isAncestorOf(QApplication::focusWidget())) scroll_->setFocus(Qt::OtherFocusReason);
    while (QLayoutItem* item = cardsLayout_->takeAt(0)) {
        // A card may be rebuilt from one of its own buttons' clicks: it goes
        // out of the window now and is deleted once the click is over.
        if (QWidget* w = item->widget()) {
            w->hide();
            w->setParent(nullptr);
            w->deleteLater();
        }
        delete item;
    }
    const Color accent = fromQColor(palette().color(QPalette::Active, QPalette::Highlight));
    const QColor window = palette().color(QPalette::Active, QPalette::Window);
    headerSymbol_->setStyleSheet(QString("color: %1;").arg(visibleMark(accent, window).name()));
    colourStepNumbers(*ownSteps_, accent, window);
    makeProminent(*done_, accent);
    for (const auto& each : setup_->cards())
        cardsLayout_->addWidget(card(each));
    recheck_->setEnabled(!setup_->rechecking());
    recheck_->setText(setup_->rechecking() ? "Checking\u2026" : "\u21BB  &Re-check");
    if (setup_->rechecking() && spin_->state() != QAbstractAnimation::Running) {
        recheck_->setIcon(spinnerFrame(0));
        spin_->start();
    } else if (!setup_->rechecking()) {
        spin_->stop();
        recheck_->setIcon(QIcon());
    }
}

QWidget* ShortcutSetupView::card(const ShortcutSetup::Card& card) {
    const auto& req = card.requirement;
    // What is drawn in the accent stands out from the card it is on.
    const Color accent = fromQColor(palette().color(QPalette::Active, QPalette::Highlight));
    const QColor panel = GuideText::panelColour(palette());
    auto* frame = new QFrame;
    frame->setObjectName(QString::fromStdString("card-" + req.id));
    frame->setStyleSheet(
        QString("#%1 { background: %2; border-radius: 16px; border: %3; }")
            .arg(frame->objectName(), GuideText::panelFill,
                 card.highlighted
                     ? "1.5px solid " + visibleMark(accent, palette().color(QPalette::Window)).name()
                     : QString("1px solid rgba(127,127,127,0.20)")));
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);

    auto* head = new QHBoxLayout;
    head->setSpacing(12);
    auto* symbol = new QLabel;
    symbol->setObjectName("cardSymbol");
    symbol->setFixedWidth(30);
    symbol->setAlignment(Qt::AlignCenter);
    symbol->setPixmap(SymbolFont::pixmap(req.symbol, 22, visibleMark(accent, panel)));
    head->addWidget(symbol, 0, Qt::AlignVCenter);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(text(QString::fromStdString(req.title), GuideText::headline, true));
    texts->addWidget(secondary(text(QString::fromStdString(req.summary), GuideText::callout)));
    head->addLayout(texts, 1);
    const char* badge = card.status == Status::installed ? "\u2714 Installed" : "! Not set up";
    auto* badgeLabel = text(badge, GuideText::caption, true);
    badgeLabel->setObjectName("badge");
    badgeLabel->setStyleSheet(card.status == Status::installed ? textColorStyle(SystemColors::green, panel)
                                                               : textColorStyle(SystemColors::orange, panel));
    head->addWidget(badgeLabel, 0, Qt::AlignVCenter);
    layout->addLayout(head);

    if (card.status == Status::installed) return frame;

    auto* actions = new QHBoxLayout;
    actions->setSpacing(10);
    const std::string id = req.id;
    if (card.installable) {
        auto* install = new QPushButton("Install");
        install->setObjectName("installButton");
        makeProminent(*install, accent);
        connect(install, &QPushButton::clicked, this, [this, id] {
            const auto result = setup_->install(id);
            message_->setVisible(result.outcome == ShortcutSetup::InstallResult::Outcome::failed);
            message_->setText(QString::fromStdString(result.message));
        });
        actions->addWidget(install);
    }
    // As wide as the wider of its two titles, so the row keeps its place.
    auto* steps = new QPushButton;
    int widest = 0;
    for (const char* title : {"Show me how", "Hide steps"}) {
        steps->setText(title);
        widest = std::max(widest, steps->sizeHint().width());
    }
    steps->setMinimumWidth(widest);
    steps->setText(card.stepsShown ? "Hide steps" : "Show me how");
    steps->setObjectName("stepsButton");
    connect(steps, &QPushButton::clicked, this, [this, id] { setup_->toggleSteps(id); });
    actions->addWidget(steps);
    auto* open = new QPushButton(QStringLiteral("Open Automations"));
    open->setObjectName("openFolderButton");
    connect(open, &QPushButton::clicked, this, [this] {
        if (actions_.openAutomationsFolder) actions_.openAutomationsFolder();
    });
    actions->addWidget(open);
    actions->addStretch(1);
    layout->addLayout(actions);
    if (card.stepsShown) {
        QWidget* steps = numberedSteps(req.buildSteps);
        colourStepNumbers(*steps, accent, panel);
        layout->addWidget(steps);
    }
    return frame;
}

} // namespace rondelix
