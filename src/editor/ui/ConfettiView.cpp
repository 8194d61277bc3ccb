#include "editor/ui/ConfettiView.h"

#include "editor/ui/InspectorCard.h"
#include "overlay/ui/MaterialCard.h"

#include <QLabel>
#include <QPainter>
#include <QRandomGenerator>
#include <QVBoxLayout>
#include <array>

namespace rondelix {

namespace {

const std::array<QColor, ConfettiPiece::colorCount> pieceColors{
    QColor(255, 59, 48), QColor(255, 149, 0),  QColor(255, 204, 0), QColor(52, 199, 89),
    QColor(0, 122, 255), QColor(175, 82, 222), QColor(255, 45, 85)};

constexpr int frameMs = 16;
constexpr int cardPadding = 28;
constexpr int captionWidth = 320;

} // namespace

ConfettiView::ConfettiView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    auto* random = QRandomGenerator::global();
    pieces_ = ConfettiPiece::scatter(
        [random](double lo, double hi) { return lo + random->generateDouble() * (hi - lo); });
    frames_.setInterval(frameMs);
    connect(&frames_, &QTimer::timeout, this, [this] {
        update();
        if (elapsed() > ConfettiPiece::settleTime(pieces_)) frames_.stop();
    });
}

double ConfettiView::elapsed() const {
    return clock_.isValid() ? static_cast<double>(clock_.elapsed()) / 1000.0 : 0.0;
}

void ConfettiView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!clock_.isValid()) clock_.start();
    frames_.start();
}

void ConfettiView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const double t = elapsed();
    for (const ConfettiPiece& piece : pieces_) {
        const auto frame = piece.frameAt(t, width(), height());
        if (frame.opacity <= 0) continue;
        painter.save();
        painter.translate(frame.centerX, frame.centerY);
        painter.rotate(frame.rotation);
        painter.setOpacity(frame.opacity);
        const double w = piece.size, h = piece.size * ConfettiPiece::heightRatio;
        painter.setBrush(pieceColors[static_cast<std::size_t>(piece.colorIndex)]);
        painter.drawRoundedRect(QRectF(-w / 2, -h / 2, w, h), ConfettiPiece::cornerRadius,
                                ConfettiPiece::cornerRadius);
        painter.restore();
    }
}

ConfettiCelebration::ConfettiCelebration(bool still, QWidget* parent)
    : QWidget(parent), confetti_(still ? nullptr : new ConfettiView(this)),
      card_(new MaterialCard({20, 30, 0.33}, this)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    auto* layout = new QVBoxLayout(card_);
    layout->setContentsMargins(cardPadding, cardPadding, cardPadding, cardPadding);
    layout->setSpacing(10);
    auto* emoji = new QLabel(QString::fromUtf8("\U0001F4AF"));
    QFont emojiFont = emoji->font();
    emojiFont.setPixelSize(64);
    emoji->setFont(emojiFont);
    auto* title = new QLabel("100 Wheels!");
    title->setObjectName("celebrationTitle");
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2.2);
    title->setFont(titleFont);
    auto* caption = new QLabel("You magnificent menace. We genuinely didn't think anyone would do this.");
    caption->setWordWrap(true);
    caption->setMaximumWidth(captionWidth);
    makeSecondary(caption);
    for (QLabel* label : {emoji, title, caption}) {
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label, 0, Qt::AlignHCenter);
    }
    card_->setObjectName("celebrationCard");
    card_->adjustSize();
}

void ConfettiCelebration::resizeEvent(QResizeEvent*) {
    if (confetti_) confetti_->setGeometry(rect());
    const QSize size = card_->sizeHint();
    card_->setGeometry(QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size));
}

} // namespace rondelix
