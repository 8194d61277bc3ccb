#pragma once

#include "overlay/OverlaySurface.h"
#include "overlay/PanelGeometry.h"

#include <QRegion>
#include <QWidget>
#include <functional>

class QVariantAnimation;

namespace rondelix {

class DragHandleView;
class OpenScaleEffect;

// The floating window that shows the wheel over every program: a tool window
// that never takes focus, stays above other windows on every workspace and
// bypasses the window manager. Translucent with a compositor; without one it
// is opaque and shaped to the disc.
class OverlayPanel final : public QWidget, public OverlaySurface {
    Q_OBJECT
  public:
    // Makes the wheel view for a disc of the diameter, as a child of the parent.
    using WheelFactory = std::function<QWidget*(double diameter, QWidget* parent)>;

    OverlayPanel(const PanelOptions& options, const WheelFactory& makeWheel);
    ~OverlayPanel() override;

    platform::Rect frame() const override;
    void setFrame(platform::Rect frame) override;
    double alpha() const override { return alpha_; }
    void setAlpha(double alpha) override;
    void animateAlpha(double to, double seconds) override;
    void orderFront() override;
    void orderOut() override;
    bool isVisible() const override { return wantsFront_; }
    double alphaFloor() const override {
        return translucent() && !backdropBlurred_ ? unblurredAlphaFloor : 0;
    }
    // Whether the compositor blurs what lies behind the ring; without a blur
    // the ring keeps enough of its own colour that text behind it does not
    // read through its labels.
    void setBackdropBlurred(bool blurred) { backdropBlurred_ = blurred; }
    static constexpr double unblurredAlphaFloor = 0.94;
    void setIgnoresMouseEvents(bool ignores) override;
    void setDragHandleHidden(bool hidden) override;
    void setOnClose(std::function<void()> onClose) override;
    void playOpenAnimation(const OpenAnimation& animation) override;
    void prewarm() override;
    // Shows the opening as it stands this long after it began, unless that
    // would move the wheel's rim by less than half a pixel.
    void showOpenFrame(double seconds);
    int level() const override;
    int shieldLevel() const override { return 1; }
    unsigned long windowBehavior() const override {
        return static_cast<unsigned long>(windowFlags().toInt());
    }

    QWidget* wheel() const { return wheel_; }
    // The disc behind the slots and the hub, in the window's coordinates.
    QRegion backdropRegion() const;
    DragHandleView* dragHandle() const { return handle_; }

  protected:
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    bool translucent() const { return !options_.opaque; }
    void applyMask();
    void setOpenScale(double scale);
    void showAlpha(double alpha);
    void fadeAlpha(double from, double to, double seconds);
    void startAlphaAnimation(double from, double to, double seconds);
    void mapIfWanted();

    PanelOptions options_;
    PanelGeometry geometry_;
    QWidget* content_;
    QWidget* wheel_ = nullptr;
    DragHandleView* handle_;
    OpenScaleEffect* scaleEffect_;
    QVariantAnimation* alphaAnimation_;
    QVariantAnimation* scaleAnimation_;
    OpenAnimation openAnimation_;
    double alpha_ = 1.0;
    bool backdropBlurred_ = true;
    double openScale_ = 1.0;
    // The shape last given to the window, and the disc's shape at rest.
    QRect maskedBox_;
    bool maskedWithHandle_ = false;
    QRegion restingDisc_;
    bool wantsFront_ = false;
};

} // namespace rondelix
