#include "gallery/ui/WheelWorkshopPage.h"

#include "gallery/WorkshopLayout.h"
#include "gallery/ui/GalleryBrowserPage.h"

#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QResizeEvent>

namespace rondelix {

namespace {

QPropertyAnimation* fade(QWidget* picture, double from, double to, QObject* owner) {
    auto* effect = new QGraphicsOpacityEffect(picture);
    effect->setOpacity(from);
    picture->setGraphicsEffect(effect);
    auto* animation = new QPropertyAnimation(effect, "opacity", owner);
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->setDuration(WheelWorkshopPage::switchMilliseconds);
    return animation;
}

} // namespace

WheelWorkshopPage::WheelWorkshopPage(Pages pages, bool showsGallery, QWidget* parent)
    : QWidget(parent), pages_(std::move(pages)), showsGallery_(showsGallery) {
    current_ = makePage(showsGallery_);
}

double WheelWorkshopPage::wheelSize() const {
    return WorkshopLayout::wheelSize(width(), height());
}

bool WheelWorkshopPage::isSwitching() const {
    return switching_ != nullptr;
}

QWidget* WheelWorkshopPage::makePage(bool gallery) {
    QWidget* page = gallery ? pages_.gallery(wheelSize(), this) : pages_.editor(this);
    page->setGeometry(rect());
    page->show();
    return page;
}

QWidget* WheelWorkshopPage::wheelOf(QWidget* page, bool gallery) const {
    if (gallery) return static_cast<GalleryBrowserPage*>(page)->stageSquare();
    return pages_.editorWheel ? pages_.editorWheel(page) : nullptr;
}

void WheelWorkshopPage::showGallery(bool gallery) {
    if (gallery == showsGallery_) return;
    if (switching_) {
        // A switch still under way ends where it was going.
        QParallelAnimationGroup* running = switching_;
        switching_ = nullptr;
        running->disconnect(this);
        running->stop();
        finishSwitch();
    }
    QWidget* leaving = current_;
    const bool leavingGallery = showsGallery_;
    showsGallery_ = gallery;
    const bool still = (pages_.reduceMotion && pages_.reduceMotion()) || !isVisible();

    // The outgoing page fades as a picture over the incoming one, so no
    // live page is drawn through an opacity effect.
    QPixmap leavingLook;
    QPixmap wheelLook;
    QRect wheelStart;
    if (!still) {
        leavingLook = leaving->grab();
        if (QWidget* from = wheelOf(leaving, leavingGallery); from && from->isVisible()) {
            wheelLook = from->grab();
            wheelStart = QRect(from->mapTo(this, QPoint(0, 0)), from->size());
        }
    }
    delete leaving;
    current_ = makePage(gallery);
    if (still) return;

    auto* group = new QParallelAnimationGroup(this);
    fading_ = new QLabel(this);
    fading_->setPixmap(leavingLook);
    fading_->setGeometry(rect());
    fading_->show();
    group->addAnimation(fade(fading_, 1, 0, group));

    QWidget* to = wheelOf(current_, gallery);
    if (to && !wheelLook.isNull()) {
        flying_ = new QLabel(this);
        flying_->setPixmap(wheelLook);
        flying_->setScaledContents(true);
        const QRect end(to->mapTo(this, QPoint(0, 0)), to->size());
        flying_->setGeometry(wheelStart);
        flying_->show();
        flying_->raise();
        to->setVisible(false);
        auto* flight = new QPropertyAnimation(flying_, "geometry", group);
        flight->setStartValue(wheelStart);
        flight->setEndValue(end);
        flight->setDuration(switchMilliseconds);
        // A quick spring that settles without a visible bounce.
        flight->setEasingCurve(QEasingCurve::OutCubic);
        group->addAnimation(flight);
    }
    connect(group, &QAbstractAnimation::finished, this, [this] {
        switching_ = nullptr;
        finishSwitch();
    });
    switching_ = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void WheelWorkshopPage::finishSwitch() {
    delete fading_;
    fading_ = nullptr;
    delete flying_;
    flying_ = nullptr;
    if (current_)
        if (QWidget* wheel = wheelOf(current_, showsGallery_)) wheel->setVisible(true);
}

void WheelWorkshopPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (current_) current_->setGeometry(rect());
    if (showsGallery_ && current_) static_cast<GalleryBrowserPage*>(current_)->setWheelSize(wheelSize());
}

} // namespace rondelix
