#include "guides/ui/HowItWorksView.h"

#include "guides/ui/GuideText.h"
#include "guides/ui/HowItWorksIllustration.h"
#include "guides/ui/ProgressDots.h"
#include "model/Color.h"
#include "overlay/ui/WheelPalette.h"
#include "qtshared/ProminentButton.h"
#include "qtshared/QtColor.h"
#include "qtshared/SecondaryText.h"

#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace rondelix {

namespace {

constexpr int stepCount = 5;

// The step's sentence with the summon keys bold in the accent colour.
QString describe(const std::vector<GuideTextRun>& runs, const QColor& accent) {
    QString html;
    for (const auto& run : runs) {
        const QString text = QString::fromStdString(run.text).toHtmlEscaped();
        html += run.keyName ? QString("<b style=\"color:%1\">%2</b>").arg(accent.name(), text) : text;
    }
    return html;
}

} // namespace

HowItWorksView::HowItWorksView(HowItWorksHost host, SliceIconSources& icons, QWidget* parent)
    : QWidget(parent), guide_(std::make_unique<HowItWorksGuide>(std::move(host))) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* content = new QVBoxLayout;
    content->setContentsMargins(44, 46, 44, 0);
    content->setSpacing(24);
    auto* card = new QFrame(this);
    card->setObjectName("illustrationCard");
    card->setFixedHeight(240);
    card->setStyleSheet("#illustrationCard { background: rgba(255,255,255,0.55); border-radius: 18px; "
                        "border: 0.5px solid rgba(0,0,0,0.08); }");
    auto* shadow = new QGraphicsDropShadowEffect(card);
    shadow->setColor(QColor(0, 0, 0, 26));
    shadow->setBlurRadius(20);
    shadow->setOffset(0, 4);
    card->setGraphicsEffect(shadow);
    auto* cardLayout = new QVBoxLayout(card);
    cardLayout->setContentsMargins(12, 12, 12, 12);
    illustration_ = new HowItWorksIllustration(icons, card);
    illustration_->setObjectName("illustration");
    cardLayout->addWidget(illustration_);
    content->addWidget(card);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(10);
    title_ = GuideText::label({}, GuideText::largeTitle, true, this);
    title_->setObjectName("guideTitle");
    title_->setTextFormat(Qt::PlainText);
    description_ = GuideText::secondary(GuideText::label({}, GuideText::title3, false, this));
    description_->setObjectName("guideDescription");
    description_->setTextFormat(Qt::RichText);
    texts->addWidget(title_);
    texts->addWidget(description_);
    content->addLayout(texts);
    content->addStretch(1);
    outer->addLayout(content, 1);

    auto* footer = new QVBoxLayout;
    footer->setContentsMargins(44, 18, 44, 30);
    footer->setSpacing(18);
    dots_ = new ProgressDots(stepCount, this);
    footer->addWidget(dots_, 0, Qt::AlignHCenter);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(16);
    back_ = new QPushButton("&Back", this);
    back_->setObjectName("backButton");
    back_->setFlat(true);
    back_->setStyleSheet(secondaryTextStyle(*back_));
    primary_ = new QPushButton(this);
    primary_->setObjectName("primaryButton");
    primary_->setDefault(true);
    buttons->addWidget(back_);
    buttons->addStretch(1);
    buttons->addWidget(primary_);
    footer->addLayout(buttons);
    outer->addLayout(footer);

    connect(back_, &QPushButton::clicked, this, [this] { guide_->back(); });
    connect(primary_, &QPushButton::clicked, this, [this] { guide_->primary(); });
    // Return presses Next, and Done on the last step.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter})
        connect(new QShortcut(QKeySequence(key), this), &QShortcut::activated, primary_, &QPushButton::click);

    connection_ = guide_->changed.connectScoped([this] { render(); });
    render();
}

void HowItWorksView::render() {
    const GuideStep step = guide_->current();
    const Behavior behavior = guide_->behavior();
    const Color accentColour = Color::fromHex(behavior.accentHex);
    const QColor accent = toQColor(accentColour);
    illustration_->setScene(step.illustration, guide_->summonKeyNames(), behavior);
    title_->setText(QString::fromStdString(step.title));
    description_->setText(
        describe(guide_->description(), readableText(accentColour, palette().color(QPalette::Window))));
    dots_->setCurrent(static_cast<int>(guide_->index()), accent);
    back_->setVisible(guide_->showsBack());
    primary_->setText(guide_->onLastStep() ? "&Done  \u2713" : "&Next  \u2192");
    makeProminent(*primary_, accentColour);
}

} // namespace rondelix
