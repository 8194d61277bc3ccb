#include "guides/ui/OnboardingView.h"

#include "guides/OnboardingTexts.h"
#include "guides/ui/GuideText.h"
#include "guides/ui/ProgressDots.h"
#include "icons/ui/SymbolFont.h"
#include "model/SystemColors.h"
#include "overlay/ui/MaterialCard.h"
#include "overlay/ui/ProgramMark.h"
#include "qtshared/OpacityFade.h"
#include "qtshared/ProblemCaption.h"
#include "qtshared/ProminentButton.h"
#include "qtshared/QtColor.h"

#include <QCheckBox>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace rondelix {

namespace {

using namespace GuideText;

constexpr int celebrationShadow = 24;
constexpr int celebrationInMs = 300;
constexpr int celebrationOutMs = 600;

QFrame* roundedPanel(QWidget* parent = nullptr) {
    auto* frame = new QFrame(parent);
    frame->setObjectName("panel");
    frame->setStyleSheet(QString("#panel { background: %1; border: 1px solid rgba(127,127,127,0.20); "
                                 "border-radius: 12px; }")
                             .arg(panelFill));
    return frame;
}

// A fixed-width block in the middle of a step. Stretches centre it, not an
// alignment, so its wrapping texts get the height they need.
QHBoxLayout* centred(QWidget* block) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(block);
    row->addStretch(1);
    return row;
}

// The head of a step: a picture 104 points square that casts a soft shadow
// in the accent.
QLabel* hero(const std::function<void(QPainter&, const QRectF&)>& paint, const Color& accent,
             double shadowOpacity, int blur, int down) {
    auto* l = new QLabel;
    l->setFixedSize(104, 104);
    const qreal ratio = l->devicePixelRatioF();
    QPixmap picture(l->size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, QRectF(0, 0, 104, 104));
    painter.end();
    l->setPixmap(picture);
    QColor shade = toQColor(accent);
    shade.setAlphaF(static_cast<float>(shadowOpacity));
    auto* shadow = new QGraphicsDropShadowEffect(l);
    shadow->setColor(shade);
    shadow->setBlurRadius(blur);
    shadow->setOffset(0, down);
    l->setGraphicsEffect(shadow);
    return l;
}

// The program's mark, as the welcome's head, in the accent as it stands out
// from the window.
QLabel* logoHero(const Color& accent, const QColor& window) {
    return hero(
        [&](QPainter& painter, const QRectF& square) {
            paintProgramMark(painter, square.adjusted(4, 4, -4, -4), visibleMark(accent, window));
        },
        accent, 0.35, 18, 6);
}

// A symbol in the accent on a disc of the accent at a sixth of its strength,
// the symbol as it stands out from the disc, both where its own shadow shows
// through the disc and where it does not.
QLabel* symbolHero(std::string_view name, const Color& accent, const QColor& window) {
    constexpr double strength = 0.15, shadow = 0.3;
    return hero(
        [&](QPainter& painter, const QRectF& square) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(toQColor(accent, strength));
            painter.drawEllipse(square);
            const Color disc = mixed(fromQColor(window), accent, strength);
            const Color shaded = mixed(fromQColor(window), accent, 1 - (1 - strength) * (1 - shadow));
            const QColor mark =
                visibleMark(fromQColor(visibleMark(accent, toQColor(shaded))), toQColor(disc));
            SymbolFont::paint(painter, name, square, 50, mark);
        },
        accent, shadow, 16, 5);
}

// A symbol drawn from the program's symbol font, centred in its label.
QLabel* symbol(std::string_view name, int side, const QColor& colour) {
    auto* l = new QLabel;
    l->setPixmap(SymbolFont::pixmap(name, side, colour));
    l->setAlignment(Qt::AlignCenter);
    return l;
}

} // namespace

OnboardingView::OnboardingView(OnboardingHost host, OnboardingStep start, ConfettiFactory makeConfetti,
                               QWidget* parent)
    : QWidget(parent), flow_(std::make_unique<OnboardingFlow>(std::move(host), start)) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(44, 46, 44, 30);
    outer->setSpacing(18);
    contentLayout_ = new QVBoxLayout;
    outer->addLayout(contentLayout_, 1);

    dots_ = new ProgressDots(3, this);
    outer->addWidget(dots_, 0, Qt::AlignHCenter);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(16);
    left_ = new QPushButton(this);
    left_->setFlat(true);
    rightSkip_ = new QPushButton("&Skip for now", this);
    rightSkip_->setObjectName("skipButton");
    rightSkip_->setFlat(true);
    primary_ = new QPushButton(this);
    primary_->setObjectName("primaryButton");
    primary_->setDefault(true);
    primary_->setAutoDefault(true);
    buttons->addWidget(left_);
    buttons->addStretch(1);
    buttons->addWidget(rightSkip_);
    buttons->addWidget(primary_);
    outer->addLayout(buttons);

    connect(primary_, &QPushButton::clicked, this, [this] { flow_->primary(); });
    // Return presses the primary button; a disabled Continue ignores it.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, primary_, &QPushButton::click);
    connect(rightSkip_, &QPushButton::clicked, this, [this] { flow_->skip(); });
    connect(left_, &QPushButton::clicked, this, [this] {
        if (flow_->step() == OnboardingStep::welcome)
            flow_->skip();
        else
            flow_->back();
    });

    // Over everything, passing clicks through so the window stays usable; the
    // confetti falls behind the card.
    celebration_ = new QWidget(this);
    celebration_->setAttribute(Qt::WA_TransparentForMouseEvents);
    if (makeConfetti) confetti_ = makeConfetti(celebration_);
    auto* celebrationLayout = new QVBoxLayout(celebration_);
    auto* card = new MaterialCard({20, celebrationShadow, 0.33}, celebration_);
    card->setObjectName("celebrationCard");
    // Its texts are at most 300 points wide.
    card->setFixedWidth(300 + 2 * 24 + 2 * celebrationShadow);
    auto* cardLayout = new QVBoxLayout(card);
    cardLayout->setContentsMargins(24, 24, 24, 24);
    cardLayout->setSpacing(8);
    cardLayout->addWidget(label("\U0001F389", 56));
    cardLayout->addWidget(label("You did it!", title, true));
    cardLayout->addWidget(secondary(label("That's the whole trick: hold, aim, release.", callout)));
    celebrationLayout->addStretch(1);
    celebrationLayout->addWidget(card, 0, Qt::AlignHCenter);
    celebrationLayout->addStretch(1);
    celebration_->hide();

    connection_ = flow_->changed.connectScoped([this] { render(); });
    render();
}

void OnboardingView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (everShown_) return;
    everShown_ = true;
    flow_->shown();
}

void OnboardingView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeCelebration();
}

void OnboardingView::placeCelebration() {
    celebration_->setGeometry(rect());
    if (confetti_) confetti_->setGeometry(celebration_->rect());
}

void OnboardingView::render() {
    const OnboardingStep step = flow_->step();
    if (content_) {
        contentLayout_->removeWidget(content_);
        content_->hide();
        content_->setParent(nullptr);
        content_->deleteLater();
    }
    content_ = step == OnboardingStep::welcome       ? welcomeStep()
               : step == OnboardingStep::permissions ? permissionsStep()
                                                     : readyStep();
    contentLayout_->addWidget(content_);

    dots_->setCurrent(static_cast<int>(step), toQColor(flow_->accent()));

    left_->setText(step == OnboardingStep::welcome ? "&Skip for now" : "&Back");
    left_->setObjectName(step == OnboardingStep::welcome ? "skipButton" : "backButton");
    rightSkip_->setVisible(step == OnboardingStep::permissions);
    primary_->setText(step == OnboardingStep::welcome       ? "&Get Started  \u2192"
                      : step == OnboardingStep::permissions ? "&Continue  \u2192"
                                                            : "&Done  \u2713");
    primary_->setEnabled(flow_->primaryEnabled());
    makeProminent(*primary_, flow_->accent());

    renderCelebration();
}

void OnboardingView::renderCelebration() {
    const bool celebrating = flow_->celebrating();
    if (celebrating && !celebration_->isVisible()) {
        placeCelebration();
        celebration_->show();
        celebration_->raise();
        opacityFade(*celebration_, 0, 1, celebrationInMs, QEasingCurve::OutCubic)
            ->start(QAbstractAnimation::DeleteWhenStopped);
    } else if (!celebrating && celebration_->isVisible() && !celebrationLeaving_) {
        celebrationLeaving_ = true;
        QPropertyAnimation* out = opacityFade(*celebration_, 1, 0, celebrationOutMs, QEasingCurve::OutCubic);
        connect(out, &QPropertyAnimation::finished, celebration_, &QWidget::hide);
        out->start(QAbstractAnimation::DeleteWhenStopped);
    }
}

QWidget* OnboardingView::welcomeStep() {
    auto* page = new QWidget(this);
    page->setObjectName("welcomeStep");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(22);
    layout->addWidget(logoHero(flow_->accent(), palette().color(QPalette::Window)), 0, Qt::AlignHCenter);
    layout->addWidget(label("Welcome to Rondelix", largeTitle, true));
    layout->addWidget(secondary(
        label("A radial action launcher you summon from the keyboard. Hold, aim, release.", title3)));
    auto* rows = new QVBoxLayout;
    rows->setSpacing(16);
    const std::string phrase = flow_->summonKeysPhrase();
    const struct {
        const char* symbol;
        const char* title;
        std::string text;
    } steps[] = {
        {"hand.point.up.left.fill", "Summon", OnboardingTexts::summonRow(phrase)},
        {"dpad.fill", "Aim", "Point with the arrow keys, or hover with the mouse."},
        {"bolt.fill", "Fire", "Release to run the action you're aimed at."},
    };
    const QColor accent = readableText(flow_->accent(), palette().color(QPalette::Window));
    for (const auto& s : steps) {
        auto* row = new QHBoxLayout;
        row->setSpacing(14);
        auto* glyph = symbol(s.symbol, 26, accent);
        glyph->setObjectName("stepSymbol");
        glyph->setFixedSize(34, 30);
        row->addWidget(glyph, 0, Qt::AlignTop);
        auto* texts = new QVBoxLayout;
        texts->setSpacing(2);
        auto* title = label(s.title, headline, true);
        title->setAlignment(Qt::AlignLeft);
        auto* text = secondary(label(QString::fromStdString(s.text), callout));
        text->setAlignment(Qt::AlignLeft);
        text->setTextFormat(Qt::PlainText);
        texts->addWidget(title);
        texts->addWidget(text);
        row->addLayout(texts, 1);
        rows->addLayout(row);
    }
    auto* holder = new QWidget(page);
    holder->setFixedWidth(420);
    holder->setLayout(rows);
    layout->addLayout(centred(holder));
    layout->addStretch(1);
    return page;
}

QWidget* OnboardingView::permissionRow(const QString& title, const QString& detail, bool granted) {
    auto* row = roundedPanel();
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(8);
    auto* head = new QHBoxLayout;
    head->setSpacing(10);
    const QColor panel = panelColour(palette());
    auto* mark = label(granted ? "\u2714" : "!", title2, true);
    mark->setStyleSheet(textColorStyle(granted ? SystemColors::green : SystemColors::orange, panel));
    head->addWidget(mark);
    auto* name = label(title, headline, true);
    name->setAlignment(Qt::AlignLeft);
    head->addWidget(name, 1);
    if (granted) {
        auto* state = label("Available", caption, true);
        state->setStyleSheet(textColorStyle(SystemColors::green, panel));
        head->addWidget(state);
    }
    layout->addLayout(head);
    auto* details = secondary(label(detail, caption));
    details->setAlignment(Qt::AlignLeft);
    layout->addWidget(details);
    if (!granted) {
        auto* why = label(OnboardingTexts::noGlobalInput, caption, true);
        why->setAlignment(Qt::AlignLeft);
        why->setObjectName("noGlobalInput");
        why->setStyleSheet(QString("color: %1;").arg(readableText(flow_->accent(), panel).name()));
        layout->addWidget(why);
    }
    return row;
}

QWidget* OnboardingView::permissionsStep() {
    auto* page = new QWidget(this);
    page->setObjectName("permissionsStep");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(20);
    layout->addWidget(symbolHero("lock.shield.fill", flow_->accent(), palette().color(QPalette::Window)), 0,
                      Qt::AlignHCenter);
    const bool available = flow_->inputMonitoringGranted() && flow_->accessibilityGranted();
    layout->addWidget(
        label(QString::fromStdString(OnboardingTexts::permissionsTitle(available)), largeTitle, true));
    layout->addWidget(
        secondary(label("So the wheel works in every app, not only when Rondelix is focused. It only "
                        "watches for your summon key \u2014 your keystrokes are never recorded or "
                        "sent anywhere.",
                        title3)));
    auto* rows = new QWidget(page);
    rows->setFixedWidth(470);
    auto* rowsLayout = new QVBoxLayout(rows);
    rowsLayout->setContentsMargins(0, 0, 0, 0);
    rowsLayout->setSpacing(12);
    rowsLayout->addWidget(
        permissionRow("Listening to keys",
                      "Hears your summon key in other programs, through the X server. Without it, the "
                      "hotkey only works when Rondelix itself is focused.",
                      flow_->inputMonitoringGranted()));
    rowsLayout->addWidget(permissionRow(
        "Sending input",
        "Captures the arrow keys while you aim, and types your text and keystrokes through XTest.",
        flow_->accessibilityGranted()));
    layout->addLayout(centred(rows));
    auto* footer =
        secondary(label(QString::fromStdString(OnboardingTexts::permissionsFooter(available)), caption));
    footer->setObjectName("permissionsFooter");
    footer->setTextFormat(Qt::PlainText);
    layout->addWidget(footer);
    layout->addStretch(1);
    return page;
}

QWidget* OnboardingView::readyStep() {
    auto* page = new QWidget(this);
    page->setObjectName("readyStep");
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(22);
    const bool ready = flow_->ready();
    layout->addWidget(symbolHero(ready ? "checkmark.seal.fill" : "hand.wave.fill", flow_->accent(),
                                 palette().color(QPalette::Window)),
                      0, Qt::AlignHCenter);
    layout->addWidget(label(ready ? "You're all set!" : "Almost there", largeTitle, true));
    if (ready) {
        const std::string phrase = flow_->summonKeysPhrase();
        const QString bold = "<b>" + QString::fromStdString(phrase).toHtmlEscaped() + "</b>";
        const QString body = QString::fromStdString(OnboardingTexts::readyBody(phrase))
                                 .toHtmlEscaped()
                                 .replace(QString::fromStdString(phrase).toHtmlEscaped(), bold);
        auto* text = secondary(label(body, title3));
        text->setTextFormat(Qt::RichText);
        layout->addWidget(text);
        // On a capsule of the accent at an eighth over the window, in the accent.
        const QColor window = palette().color(QPalette::Window);
        const QColor tint = toQColor(flow_->accent());
        const auto over = [](float ink, float ground) { return ground + (ink - ground) * 0.12f; };
        const QColor fill =
            QColor::fromRgbF(over(tint.redF(), window.redF()), over(tint.greenF(), window.greenF()),
                             over(tint.blueF(), window.blueF()));
        const QColor ink = readableText(flow_->accent(), fill);
        auto* tryIt = new QFrame(page);
        tryIt->setObjectName("tryIt");
        tryIt->setStyleSheet(QString("#tryIt { background: %1; border-radius: 17px; }").arg(fill.name()));
        auto* tryRow = new QHBoxLayout(tryIt);
        tryRow->setContentsMargins(16, 9, 16, 9);
        tryRow->setSpacing(6);
        tryRow->addWidget(symbol("hand.point.up.left.fill", 18, ink), 0, Qt::AlignVCenter);
        auto* tryText = label("Give it a try: summon your wheel now", callout, true);
        tryText->setWordWrap(false);
        tryText->setStyleSheet(QString("color: %1;").arg(ink.name()));
        tryRow->addWidget(tryText, 0, Qt::AlignVCenter);
        layout->addWidget(tryIt, 0, Qt::AlignHCenter);
    } else {
        auto* note = secondary(label(QString::fromStdString(OnboardingTexts::degradedStateNote(
                                         flow_->accessibilityGranted(), flow_->trayShown())),
                                     title3));
        note->setTextFormat(Qt::PlainText);
        layout->addWidget(note);
    }
    auto* lives =
        secondary(label(QString::fromStdString(OnboardingTexts::whereItLives(flow_->trayShown())), callout));
    lives->setObjectName("whereItLives");
    lives->setTextFormat(Qt::PlainText);
    layout->addWidget(lives);
    layout->addWidget(
        secondary(label("You can change or add summon keys anytime in Settings \u2192 Bindings.", caption)));

    auto* row = roundedPanel(page);
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(16, 12, 16, 12);
    rowLayout->setSpacing(16);
    auto* texts = new QVBoxLayout;
    auto* title = label("Launch at login", headline, true);
    title->setAlignment(Qt::AlignLeft);
    auto* subtitle = secondary(label("Start Rondelix automatically when you log in.", caption));
    subtitle->setAlignment(Qt::AlignLeft);
    texts->addWidget(title);
    texts->addWidget(subtitle);
    rowLayout->addLayout(texts, 1);
    auto* toggle = new QCheckBox(row);
    toggle->setObjectName("launchAtLoginSwitch");
    toggle->setAccessibleName("Launch at login");
    toggle->setChecked(flow_->launchAtLogin());
    rowLayout->addWidget(toggle);
    layout->addWidget(row);
    auto* problem = new ProblemCaption("launchAtLoginProblem", page);
    problem->say(flow_->launchAtLoginProblem());
    layout->addWidget(problem);
    // When the system refuses, the switch shows what it really did and the line says why.
    connect(toggle, &QCheckBox::toggled, this, [this, toggle, problem](bool on) {
        flow_->setLaunchAtLogin(on);
        const QSignalBlocker quiet(toggle);
        toggle->setChecked(flow_->launchAtLogin());
        problem->say(flow_->launchAtLoginProblem());
    });
    layout->addStretch(1);
    return page;
}

} // namespace rondelix
