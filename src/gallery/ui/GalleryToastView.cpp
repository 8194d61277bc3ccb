#include "gallery/ui/GalleryToastView.h"

#include "gallery/GalleryBrowserModel.h"

#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>

namespace rondelix {

namespace {

constexpr int bottomPadding = 20;

} // namespace

GalleryToastView::GalleryToastView(GalleryBrowserModel& model, std::function<bool()> reduceMotion,
                                   QWidget* page)
    : QFrame(page), model_(model), reduceMotion_(std::move(reduceMotion)),
      motion_(new QPropertyAnimation(this, "pos", this)), message_(new QLabel(this)),
      view_(new QPushButton(tr("View"), this)), undo_(new QPushButton(tr("Undo"), this)) {
    setObjectName("galleryToast");
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet("#galleryToast { background: palette(window); border: 1px solid palette(mid);"
                  " border-radius: 19px; }"
                  "QPushButton { border: none; background: transparent; font-weight: 500; }");
    auto* shadow = new QGraphicsDropShadowEffect(this);
    shadow->setBlurRadius(16);
    shadow->setOffset(0, 2);
    shadow->setColor(QColor(0, 0, 0, 84));
    setGraphicsEffect(shadow);

    QFont font = message_->font();
    font.setWeight(QFont::Medium);
    message_->setFont(font);
    undo_->setForegroundRole(QPalette::PlaceholderText);
    for (QPushButton* button : {view_, undo_})
        button->setCursor(Qt::PointingHandCursor);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(16, 10, 16, 10);
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

void GalleryToastView::refresh() {
    const bool still = reduceMotion_ && reduceMotion_();
    const auto& toast = model_.toast().current();
    if (!toast) {
        if (isHidden()) return;
        if (still)
            hide();
        else
            slide(pos(), belowThePage(), 250, QEasingCurve::OutCubic, true);
        return;
    }
    message_->setText(QString::fromStdString(toast->message));
    view_->setVisible(toast->viewWheelId.has_value());
    undo_->setVisible(toast->viewWheelId.has_value());
    adjustSize();
    const bool wasHidden = isHidden();
    const bool arriving = wasHidden || motion_->state() == QAbstractAnimation::Running;
    show();
    raise();
    if (still || !arriving) {
        motion_->stop();
        move(restingPlace());
    } else {
        slide(wasHidden ? belowThePage() : pos(), restingPlace(), 300, QEasingCurve::OutCubic, false);
    }
}

bool GalleryToastView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize &&
        motion_->state() != QAbstractAnimation::Running)
        move(restingPlace());
    return QFrame::eventFilter(watched, event);
}

QPoint GalleryToastView::restingPlace() const {
    const QWidget* page = parentWidget();
    return {(page->width() - width()) / 2, page->height() - height() - bottomPadding};
}

QPoint GalleryToastView::belowThePage() const {
    return {restingPlace().x(), parentWidget()->height()};
}

void GalleryToastView::slide(QPoint from, QPoint to, int milliseconds, QEasingCurve curve, bool hideAfter) {
    motion_->stop();
    motion_->disconnect(this);
    motion_->setStartValue(from);
    motion_->setEndValue(to);
    motion_->setDuration(milliseconds);
    motion_->setEasingCurve(curve);
    move(from);
    if (hideAfter)
        connect(motion_, &QPropertyAnimation::finished, this, [this] {
            if (!model_.toast().current()) hide();
        });
    motion_->start();
}

} // namespace rondelix
