#include "gallery/ui/WheelWorkshopPage.h"

#include "gallery/WorkshopLayout.h"
#include "qtshared/OpacityFade.h"

#include <QEasingCurve>
#include <QLabel>
#include <QPainter>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QResizeEvent>
#include <QVariantAnimation>
#include <algorithm>

namespace rondelix {

namespace {

const int switchMs = static_cast<int>(WorkshopLayout::switchSeconds * 1000);

// Both the flight and the cross-fade move as the workshop's spring.
qreal springEasing(qreal progress) {
    return WorkshopLayout::switchProgress(progress * WorkshopLayout::switchSeconds);
}

QEasingCurve spring() {
    QEasingCurve curve;
    curve.setCustomType(&springEasing);
    return curve;
}

// The wheel's square as drawn, clear around the wheel: no background of the
// page it sits on flies with it.
QPixmap squarePicture(QWidget& square) {
    const qreal ratio = square.devicePixelRatioF();
    QPixmap picture(square.size() * ratio);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    square.render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    return picture;
}

// Hides the square for the flight without letting its page's layout close
// the gap it leaves.
void setSquareShown(QWidget& square, bool shown) {
    QSizePolicy policy = square.sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    square.setSizePolicy(policy);
    square.setVisible(shown);
}

} // namespace

// The wheel on its way: the outgoing page's wheel turning into the incoming
// page's as it flies, both drawn to the square it has reached. The incoming
// wheel is drawn as its square shows it at each frame, so that a wheel
// chosen there meanwhile is the one that lands.
class WheelWorkshopPage::FlyingWheel : public QWidget {
  public:
    FlyingWheel(QPixmap leaving, QWidget& arriving, QWidget* parent)
        : QWidget(parent), leaving_(std::move(leaving)), arriving_(&arriving) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    void setBlend(double blend) {
        blend_ = blend;
        update();
    }
    const QPixmap& leaving() const { return leaving_; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setOpacity(std::clamp(1 - blend_, 0.0, 1.0));
        painter.drawPixmap(rect(), leaving_);
        if (!arriving_) return;
        painter.setOpacity(std::clamp(blend_, 0.0, 1.0));
        painter.drawPixmap(rect(), squarePicture(*arriving_));
    }

  private:
    QPixmap leaving_;
    QPointer<QWidget> arriving_;
    double blend_ = 0;
};

WheelWorkshopPage::WheelWorkshopPage(Pages pages, bool showsGallery, QWidget* parent)
    : QWidget(parent), pages_(std::move(pages)), showsGallery_(showsGallery) {
    current_ = makePage(showsGallery_);
}

double WheelWorkshopPage::wheelSize() const {
    return WorkshopLayout::wheelSize(width(), height());
}

QWidget* WheelWorkshopPage::flyingWheel() const {
    return flying_;
}

QPixmap WheelWorkshopPage::flyingPicture() const {
    return flying_ ? flying_->leaving() : QPixmap();
}

bool WheelWorkshopPage::isSwitching() const {
    return switching_ != nullptr;
}

QSize WheelWorkshopPage::minimumSizeHint() const {
    return current_ ? current_->minimumSizeHint() : QWidget::minimumSizeHint();
}

WorkshopPane* WheelWorkshopPage::makePage(bool gallery) {
    WorkshopPane* page = gallery ? pages_.gallery(wheelSize(), this) : pages_.editor(this);
    page->setWheelSize(wheelSize());
    page->setGeometry(rect());
    page->show();
    return page;
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
    WorkshopPane* leaving = current_;
    showsGallery_ = gallery;
    const bool still = (pages_.reduceMotion && pages_.reduceMotion()) || !isVisible();

    // The outgoing page fades as a picture over the incoming one, so no
    // live page is drawn through an opacity effect.
    QPixmap leavingLook;
    QPixmap wheelLook;
    QRect wheelStart;
    if (!still) {
        leavingLook = leaving->grab();
        if (QWidget* from = leaving->wheelSquare(); from && from->isVisible()) {
            wheelLook = squarePicture(*from);
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
    group->addAnimation(opacityFade(*fading_, 1, 0, switchMs, spring()));

    QWidget* to = current_->wheelSquare();
    if (to && !wheelLook.isNull()) {
        flying_ = new FlyingWheel(wheelLook, *to, this);
        const QRect end(to->mapTo(this, QPoint(0, 0)), to->size());
        flying_->setGeometry(wheelStart);
        flying_->show();
        flying_->raise();
        setSquareShown(*to, false);
        auto* flight = new QPropertyAnimation(flying_, "geometry", group);
        flight->setStartValue(wheelStart);
        flight->setEndValue(end);
        flight->setDuration(switchMs);
        flight->setEasingCurve(spring());
        group->addAnimation(flight);
        auto* blend = new QVariantAnimation(group);
        blend->setStartValue(0.0);
        blend->setEndValue(1.0);
        blend->setDuration(switchMs);
        blend->setEasingCurve(spring());
        connect(blend, &QVariantAnimation::valueChanged, flying_,
                [flying = flying_](const QVariant& value) { flying->setBlend(value.toDouble()); });
        group->addAnimation(blend);
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
        if (QWidget* wheel = current_->wheelSquare()) setSquareShown(*wheel, true);
}

void WheelWorkshopPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!current_) return;
    current_->setGeometry(rect());
    current_->setWheelSize(wheelSize());
}

} // namespace rondelix
