#pragma once

#include "gallery/ui/WorkshopPane.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QParallelAnimationGroup;

namespace rondelix {

// The one page behind My Wheels and the Wheel Gallery. It holds whichever of
// the two is chosen, built afresh on every switch, gives both the same wheel
// size, and on a switch fades the outgoing page out while the wheel flies, as
// the square both draw it in, from its place in one to its place in the other
// (at once without motion).
class WheelWorkshopPage : public QWidget {
    Q_OBJECT
  public:
    struct Pages {
        std::function<WorkshopPane*(QWidget* parent)> editor;
        std::function<WorkshopPane*(double wheelSize, QWidget* parent)> gallery;
        std::function<bool()> reduceMotion;
    };

    WheelWorkshopPage(Pages pages, bool showsGallery, QWidget* parent = nullptr);

    void showGallery(bool gallery);
    bool showsGallery() const { return showsGallery_; }
    double wheelSize() const;
    WorkshopPane* currentPage() const { return current_; }
    // The wheel on its way between the pages, while it flies.
    QWidget* flyingWheel() const;
    // The picture of the outgoing page's wheel that sets out.
    QPixmap flyingPicture() const;
    bool isSwitching() const;
    // What the page shown needs.
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    class FlyingWheel;
    WorkshopPane* makePage(bool gallery);
    void finishSwitch();

    Pages pages_;
    bool showsGallery_;
    WorkshopPane* current_ = nullptr;
    // The outgoing page's last look, fading over the incoming one.
    QLabel* fading_ = nullptr;
    FlyingWheel* flying_ = nullptr;
    QPointer<QParallelAnimationGroup> switching_;
};

} // namespace rondelix
