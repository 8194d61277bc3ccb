#include "gallery/ui/GalleryToastView.h"

#include "gallery/GalleryBrowserModel.h"
#include "qtshared/OpacityFade.h"
#include "qtshared/QtColor.h"
#include "qtshared/SoftShadow.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QPushButton>

namespace rondelix {

namespace {

constexpr int bottomPadding = 20;
// The shadow: black at a third, spread over 8 points, 2 points down.
constexpr int shadowRadius = 8;
constexpr int shadowDrop = 2;
constexpr double shadowOpacity = 0.33;
// Room for the shadow around the capsule.
constexpr QMargins shadowMargin{shadowRadius + 2, shadowRadius + 2, shadowRadius + 2,
                                shadowRadius + 2 + shadowDrop};

QPainterPath capsulePath(const QRectF& box) {
    QPainterPath path;
    path.addRoundedRect(box, box.height() / 2, box.height() / 2);
    return path;
}

} // namespace

GalleryToastView::GalleryToastView(GalleryBrowserModel& model, std::function<bool()> reduceMotion,
                                   std::function<QColor()> accent, QWidget* page)
    : QWidget(page), model_(model), reduceMotion_(std::move(reduceMotion)), accent_(std::move(accent)),
      message_(new QLabel(this)), view_(new QPushButton(tr("View"), this)),
      undo_(new QPushButton(tr("Undo"), this)) {
    setObjectName("galleryToast");
    setAttribute(Qt::WA_TranslucentBackground);
    setContentsMargins(shadowMargin);

    QFont font = message_->font();
    font.setWeight(QFont::Medium);
    message_->setFont(font);
    message_->setTextFormat(Qt::PlainText);
    view_->setObjectName("viewButton");
    undo_->setObjectName("undoButton");
    for (QPushButton* button : {view_, undo_}) {
        button->setFont(font);
        button->setCursor(Qt::PointingHandCursor);
    }

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(padding);
    row->setSpacing(12);
    row->addWidget(message_);
    row->addWidget(view_);
    row->addWidget(undo_);

    connect(view_, &QPushButton::clicked, this, [this] { model_.viewAdded(); });
    connect(undo_, &QPushButton::clicked, this, [this] { model_.undoAdded(); });
    page->installEventFilter(this);
    hide();
    refresh();
}

// Borderless, told apart from the sentence by their colours: View in the
// accent, Undo in the secondary colour, each deepened until it reads on the
// capsule; a light wash while hovered, pressed or focused.
void GalleryToastView::showColours() {
    const QColor fill = palette().color(QPalette::Active, QPalette::Base);
    const QColor view =
        readableText(fromQColor(accent_ ? accent_() : palette().color(QPalette::Highlight)), fill);
    // The secondary colour may be the text's at part opacity: as shown on the capsule.
    const QColor secondary = palette().color(QPalette::Active, QPalette::PlaceholderText);
    const auto over = [&](float ink, float ground) { return ground + (ink - ground) * secondary.alphaF(); };
    const QColor shownSecondary =
        QColor::fromRgbF(over(secondary.redF(), fill.redF()), over(secondary.greenF(), fill.greenF()),
                         over(secondary.blueF(), fill.blueF()));
    const QColor undo = readableText(fromQColor(shownSecondary), fill);
    setStyleSheet(
        QStringLiteral("QPushButton { border: none; background: transparent; padding: 2px 6px;"
                       " border-radius: 6px; }"
                       "QPushButton:hover, QPushButton:focus { background: rgba(127,127,127,0.16); }"
                       "QPushButton:pressed { background: rgba(127,127,127,0.28); }"
                       "#viewButton { color: %1; } #undoButton { color: %2; }")
            .arg(view.name(), undo.name()));
}

void GalleryToastView::refresh() {
    const bool still = reduceMotion_ && reduceMotion_();
    const auto& toast = model_.toast().current();
    if (!toast) {
        if (isHidden()) return;
        if (still) {
            if (motion_) motion_->stop();
            hide();
        } else {
            slide(pos(), belowThePage(), 1, 0, 250, true);
        }
        return;
    }
    message_->setText(QString::fromStdString(toast->message));
    view_->setVisible(toast->viewWheelId.has_value());
    undo_->setVisible(toast->viewWheelId.has_value());
    showColours();
    adjustSize();
    const bool wasHidden = isHidden();
    const bool arriving = wasHidden || (motion_ && motion_->state() == QAbstractAnimation::Running);
    show();
    raise();
    if (still || !arriving) {
        if (motion_) motion_->stop();
        setGraphicsEffect(nullptr);
        move(restingPlace());
    } else {
        slide(wasHidden ? belowThePage() : pos(), restingPlace(), wasHidden ? 0 : 1, 1, 300, false);
    }
}

bool GalleryToastView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize &&
        !(motion_ && motion_->state() == QAbstractAnimation::Running))
        move(restingPlace());
    return QWidget::eventFilter(watched, event);
}

void GalleryToastView::paintEvent(QPaintEvent*) {
    const QRectF box = QRectF(contentsRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (shadow_.size() != size())
        shadow_ = softShadow(size(), capsulePath(QRectF(contentsRect()).translated(0, shadowDrop)),
                             shadowRadius, shadowOpacity);
    QPainter painter(this);
    painter.drawImage(0, 0, shadow_);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor separator = palette().color(QPalette::WindowText);
    separator.setAlphaF(0.15f);
    painter.setPen(QPen(separator, 1));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawPath(capsulePath(box));
}

QPoint GalleryToastView::restingPlace() const {
    const QWidget* page = parentWidget();
    // The capsule, not its shadow, stands 20 points above the page's bottom.
    return {(page->width() - width()) / 2, page->height() - bottomPadding - height() + shadowMargin.bottom()};
}

QPoint GalleryToastView::belowThePage() const {
    return {restingPlace().x(), parentWidget()->height()};
}

void GalleryToastView::slide(QPoint from, QPoint to, double fromOpacity, double toOpacity, int milliseconds,
                             bool hideAfter) {
    if (motion_) {
        motion_->stop();
        motion_->deleteLater();
    }
    motion_ = new QParallelAnimationGroup(this);
    auto* move = new QPropertyAnimation(this, "pos", motion_);
    move->setStartValue(from);
    move->setEndValue(to);
    move->setDuration(milliseconds);
    move->setEasingCurve(QEasingCurve::OutCubic);
    motion_->addAnimation(move);
    motion_->addAnimation(opacityFade(*this, fromOpacity, toOpacity, milliseconds, QEasingCurve::OutCubic));
    this->move(from);
    connect(motion_, &QParallelAnimationGroup::finished, this, [this, hideAfter] {
        // Drawn plainly again once it rests: no effect over the buttons.
        setGraphicsEffect(nullptr);
        if (hideAfter && !model_.toast().current()) hide();
    });
    motion_->start();
}

} // namespace rondelix
