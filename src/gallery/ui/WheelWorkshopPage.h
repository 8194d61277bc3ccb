#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

class QLabel;
class QParallelAnimationGroup;

namespace rondelix {

class GalleryBrowserPage;

// The one page behind My Wheels and the Wheel Gallery. It holds whichever of
// the two is chosen, built afresh on every switch, gives both the same wheel
// size, and on a switch fades the outgoing page out while the wheel flies from its
// place in one to its place in the other (at once without motion).
class WheelWorkshopPage : public QWidget {
    Q_OBJECT
  public:
    struct Pages {
        std::function<QWidget*(QWidget* parent)> editor;
        // The editor page's drawn wheel, where the flight starts or ends.
        std::function<QWidget*(QWidget* editorPage)> editorWheel;
        std::function<GalleryBrowserPage*(double wheelSize, QWidget* parent)> gallery;
        std::function<bool()> reduceMotion;
    };

    static constexpr int switchMilliseconds = 500;

    WheelWorkshopPage(Pages pages, bool showsGallery, QWidget* parent = nullptr);

    void showGallery(bool gallery);
    bool showsGallery() const { return showsGallery_; }
    double wheelSize() const;
    QWidget* currentPage() const { return current_; }
    // The wheel on its way between the pages, while it flies.
    QLabel* flyingWheel() const { return flying_; }
    bool isSwitching() const;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWidget* makePage(bool gallery);
    QWidget* wheelOf(QWidget* page, bool gallery) const;
    void finishSwitch();

    Pages pages_;
    bool showsGallery_;
    QWidget* current_ = nullptr;
    // The outgoing page's last look, fading over the incoming one.
    QLabel* fading_ = nullptr;
    QLabel* flying_ = nullptr;
    QPointer<QParallelAnimationGroup> switching_;
};

} // namespace rondelix
