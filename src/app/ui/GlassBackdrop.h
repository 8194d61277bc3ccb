#pragma once

#include <functional>

class QPainter;
class QWidget;

namespace rondelix {

// The backdrop of the program's windows. With the glass setting on and a
// compositor that blurs behind windows that ask, the window colour at 85 %
// opacity lets the blurred desktop show through. A compositor that blurs
// nothing would let the sharp text of the window behind read through the
// window's own, so there, and without a compositor, the opaque window colour
// fills the whole window. A compositor that starts or stops while the window
// is open changes it at once; whether it blurs is asked again each time the
// window is shown.
class GlassBackdrop {
  public:
    struct Environment {
        bool compositor = false;
        // Asks the compositor to blur what lies behind the window, or to stop.
        std::function<void(QWidget& window, bool blur)> requestBlur;
        // Whether the running compositor blurs behind windows that ask.
        std::function<bool()> blurOffered;
    };

    static constexpr double glassOpacity = 0.85;

    // Prepares the window before it is first shown: only a window made
    // translucent from the start can turn translucent later without being
    // made again, so every window is, and paints itself opaque while it
    // cannot be see-through.
    GlassBackdrop(QWidget& window, Environment environment);

    void setGlass(bool on);
    void setCompositor(bool running);
    bool glass() const { return glass_; }
    bool translucent() const { return environment_.compositor && glass_ && blurred_; }

    // The compositor may have started or stopped blurring: asks it again.
    void blurOfferChanged();
    // The window was shown; its native window exists from now on.
    void windowShown();
    void paint(QPainter& painter) const;

  private:
    void requestBlur();
    bool askBlurred() const;

    QWidget& window_;
    Environment environment_;
    bool glass_ = false;
    bool blurred_ = false;
};

} // namespace rondelix
