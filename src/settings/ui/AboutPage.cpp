#include "settings/ui/AboutPage.h"

#include "icons/ui/SymbolFont.h"
#include "model/SystemColors.h"
#include "platform/MainQueue.h"
#include "platform/Pasteboard.h"
#include "platform/Workspace.h"
#include "qtshared/ProblemCaption.h"
#include "qtshared/QtColor.h"
#include "qtshared/QtText.h"
#include "qtshared/SecondaryText.h"
#include "qtshared/SeeThroughScrollArea.h"
#include "settings/AboutInfo.h"
#include "settings/ui/ChangelogSheet.h"
#include "settings/ui/SpinningLogoView.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace rondelix {

namespace {

QIcon symbolIcon(const char* name, const QColor& colour) {
    return QIcon(SymbolFont::pixmap(name, 32, colour));
}

// A flat button draws no panel, and so no focus either: a ring does.
void showFocusOnFlat(QPushButton& button) {
    button.setFlat(true);
    button.setStyleSheet(
        "QPushButton { border: 2px solid transparent; border-radius: 5px; padding: 2px 8px; }"
        "QPushButton:focus { border-color: palette(highlight); }");
}

QPushButton* bigButton(const char* title, const char* symbol, const QColor& fill, const QColor& text,
                       QWidget* parent) {
    auto* button = new QPushButton(title, parent);
    button->setIcon(symbolIcon(symbol, text));
    button->setIconSize(QSize(18, 18));
    QFont font = button->font();
    font.setPointSizeF(font.pointSizeF() * 1.25);
    font.setWeight(QFont::DemiBold);
    button->setFont(font);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(
        // The focus ring is in the text colour: the focus colour would vanish on a blue fill.
        QString("QPushButton { background: %1; color: %2; border: 2px solid transparent; border-radius: 8px; "
                "padding: 4px 18px; } QPushButton:focus { border-color: palette(window-text); }")
            .arg(fill.name(QColor::HexArgb), text.name(QColor::HexArgb)));
    return button;
}

// One row of the privacy box: a symbol and a sentence, which may carry bold
// words and a code path.
QWidget* privacyRow(const char* symbol, const QColor& tint, const QString& html, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* icon = new QLabel(row);
    icon->setPixmap(SymbolFont::pixmap(symbol, 18, tint));
    auto* text = new QLabel(html, row);
    text->setTextFormat(Qt::RichText);
    text->setWordWrap(true);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addWidget(text, 1);
    return row;
}

} // namespace

AboutPage::AboutPage(Services services, QWidget* parent)
    : QScrollArea(parent), services_(std::move(services)), logo_(new SpinningLogoView(services_.queue)) {
    setObjectName("aboutPage");
    setFrameShape(QFrame::NoFrame);
    // Tab moves between the page's buttons, not onto the page itself.
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);

    auto* canvas = new QWidget;
    auto* column = new QVBoxLayout(canvas);
    column->setSpacing(16);
    column->setContentsMargins(20, 20, 20, 20);
    column->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    logo_->motion().onFrenzy = [this] { frenzy(); };
    column->addWidget(logo_, 0, Qt::AlignHCenter);

    auto* title = new QLabel("Rondelix", canvas);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    title->setFont(titleFont);
    auto* version = new QPushButton(
        "Version " + QString::fromStdString(AboutInfo::versionText(services_.version)), canvas);
    version->setObjectName("versionButton");
    showFocusOnFlat(*version);
    // Secondary, as the credit under it: the title above is what reads first.
    version->setStyleSheet(version->styleSheet() + "QPushButton { " + secondaryTextStyle(*version) + " }");
    version->setCursor(Qt::PointingHandCursor);
    version->setToolTip("View the changelog");
    connect(version, &QPushButton::clicked, this, [this] { showChangelog(); });
    auto* credit = new QLabel("Created by the Rondelix contributors", canvas);
    credit->setForegroundRole(QPalette::PlaceholderText);
    auto* titleBlock = new QVBoxLayout;
    titleBlock->setSpacing(4);
    titleBlock->addWidget(title, 0, Qt::AlignHCenter);
    titleBlock->addWidget(version, 0, Qt::AlignHCenter);
    titleBlock->addWidget(credit, 0, Qt::AlignHCenter);
    column->addLayout(titleBlock);

    auto* guide = bigButton("How It Works", "questionmark.circle", QColor("#0A84FF"), Qt::white, canvas);
    guide->setObjectName("howItWorks");
    QColor ink(Qt::black);
    ink.setAlphaF(0.85f);
    auto* feedback = bigButton("Send Feedback", "envelope.fill", QColor("#f4c329"), ink, canvas);
    feedback->setObjectName("sendFeedback");
    connect(guide, &QPushButton::clicked, this, [this] { services_.showHowItWorks(); });
    connect(feedback, &QPushButton::clicked, this, [this] { sendFeedback(); });
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch(1);
    buttons->addWidget(guide);
    buttons->addWidget(feedback);
    buttons->addStretch(1);
    column->addSpacing(8);
    column->addLayout(buttons);

    feedbackProblem_ = new ProblemCaption("feedbackProblem", canvas);
    feedbackProblem_->setAlignment(Qt::AlignHCenter);
    column->addWidget(feedbackProblem_);

    copyLink_ = new QPushButton(canvas);
    copyLink_->setObjectName("copySupport");
    showFocusOnFlat(*copyLink_);
    copyLink_->setCursor(Qt::PointingHandCursor);
    connect(copyLink_, &QPushButton::clicked, this, [this] { copySupportAddress(); });
    column->addWidget(copyLink_, 0, Qt::AlignHCenter);

    auto* privacy = new QGroupBox(canvas);
    privacy->setFixedWidth(460);
    auto* rows = new QVBoxLayout(privacy);
    rows->setSpacing(12);
    rows->setContentsMargins(8, 8, 8, 8);
    const QColor plain = palette().color(QPalette::WindowText);
    rows->addWidget(privacyRow("lock.shield",
                               readableText(SystemColors::green, palette().color(QPalette::Window)),
                               "<b>Your wheels and settings stay on your computer.</b>", privacy));
    auto* line = new QFrame(privacy);
    line->setFrameShape(QFrame::HLine);
    rows->addWidget(line);
    rows->addWidget(privacyRow("eye.slash", plain,
                               "<b>No data collected.</b> No accounts, no analytics, no tracking.", privacy));
    rows->addWidget(
        privacyRow("keyboard", plain,
                   "<b>Listens to keys through the X server and sends input through XTest</b> to see "
                   "your summon key and run your shortcuts in the app you're using.",
                   privacy));
    rows->addWidget(privacyRow("folder", palette().color(QPalette::PlaceholderText),
                               "<span style='" + secondaryTextStyle(*this) +
                                   "'>Your settings are stored at "
                                   "<code>" +
                                   QString::fromStdString(services_.settingsFolder).toHtmlEscaped() +
                                   "/</code>.</span>",
                               privacy));
    column->addSpacing(6);
    // Centred between stretches rather than by alignment: an aligned item's
    // height is worked out for the column's whole width, which leaves the
    // box's wrapped lines too little height at its own narrower width.
    auto* centred = new QHBoxLayout;
    centred->addStretch(1);
    centred->addWidget(privacy);
    centred->addStretch(1);
    column->addLayout(centred);

    // Said in place of an update check, which the program does not have.
    auto* from = new QLabel(toQString(AboutInfo::updatesFromSystem), canvas);
    from->setObjectName("updatesFromSystem");
    from->setTextFormat(Qt::PlainText);
    from->setStyleSheet(secondaryTextStyle(*from));
    column->addWidget(from, 0, Qt::AlignHCenter);
    setWidget(canvas);
    makeSeeThrough(*this);

    toast_ = new QLabel(viewport());
    toast_->setObjectName("devToast");
    toast_->setTextFormat(Qt::RichText);
    const QString hammer =
        SymbolFont::isAvailable()
            ? QStringLiteral("<span style=\"font-family: '%1'; font-weight: normal;\">%2</span>&nbsp; ")
                  .arg(SymbolFont::font(13).family(), SymbolFont::glyph("hammer.fill"))
            : QString();
    toast_->setText(hammer + "Dev menu unlocked");
    toast_->setAccessibleName("Dev menu unlocked");
    toast_->setStyleSheet("QLabel { background: palette(window); border: 1px solid palette(mid); "
                          "border-radius: 16px; padding: 9px 18px; font-weight: 600; }");
    toast_->adjustSize();
    toast_->hide();

    copyLink_->setText("Copy support email");
    copyLink_->setIcon(symbolIcon("doc.on.doc", palette().color(QPalette::Link)));
}

AboutPage::~AboutPage() {
    lifetime_.end();
}

bool AboutPage::toastShown() const {
    return !toast_->isHidden();
}

void AboutPage::frenzy() {
    if (services_.devMenuUnlocked()) return;
    services_.unlockDevMenu();
    toast_->move((viewport()->width() - toast_->width()) / 2, 14);
    toast_->show();
    toast_->raise();
    services_.queue.after(toastSeconds, [this, alive = lifetime_.watch()] {
        if (alive) toast_->hide();
    });
}

void AboutPage::copySupportAddress() {
    services_.pasteboard.writeText(std::string(AboutInfo::supportAddress));
    copyLink_->setText("Copied " + QString::fromUtf8(AboutInfo::supportAddress.data(),
                                                     static_cast<int>(AboutInfo::supportAddress.size())));
    copyLink_->setIcon(symbolIcon("checkmark", palette().color(QPalette::Link)));
    // Each press schedules its own reset: the label reverts 2.0 s after the first.
    services_.queue.after(copiedSeconds, [this, alive = lifetime_.watch()] {
        if (!alive) return;
        copyLink_->setText("Copy support email");
        copyLink_->setIcon(symbolIcon("doc.on.doc", palette().color(QPalette::Link)));
    });
}

void AboutPage::sendFeedback() {
    feedbackProblem_->say(std::nullopt);
    services_.workspace.openLink(AboutInfo::feedbackLink(services_.version, services_.systemName),
                                 [this, alive = lifetime_.watch()](bool opened) {
                                     if (alive && !opened)
                                         feedbackProblem_->say("No mail program opened. Write to " +
                                                               std::string(AboutInfo::supportAddress) +
                                                               " instead.");
                                 });
}

void AboutPage::showChangelog() {
    auto* sheet = new ChangelogSheet(this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->open();
}

} // namespace rondelix
