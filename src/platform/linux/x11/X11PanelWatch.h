#pragma once

#include <QColor>
#include <QRect>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QSocketNotifier;
struct xcb_connection_t;

namespace rondelix::platform::linux_desktop {

// The tray's panel as it shows around the icon, read and followed on an X
// connection of its own, so that neither wakes the toolkit's event thread:
// the colour around the icon is one request for the few pixels there, and
// the panel's repaints are told as the server draws them (its damage
// extension), so that a panel that stays as it is costs nothing. Without
// X11 or the extension it reads nothing and follows nothing.
class X11PanelWatch final {
  public:
    explicit X11PanelWatch(std::function<void()> repainted);
    ~X11PanelWatch();
    X11PanelWatch(const X11PanelWatch&) = delete;
    X11PanelWatch& operator=(const X11PanelWatch&) = delete;

    // The commonest colour of a ring `ring` pixels wide around `area`, in the
    // root window's coordinates, as the screen shows it.
    std::optional<QColor> colourAround(const QRect& area, int ring);

    // Tells of drawing from now on that touches the ring `ring` pixels wide
    // around `area` on the window shown there, until stopped; an empty area
    // follows the panels on screen whole. False where the server cannot
    // tell.
    bool follow(const QRect& area, int ring);
    void stop();

  private:
    void handleEvents();
    void takeInLater();

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    std::uint8_t damageEvent_ = 0;
    bool damage_ = false;
    std::unique_ptr<QSocketNotifier> notifier_;
    // What is followed: the damage objects, and where drawing counts on
    // screen (none: anywhere).
    std::vector<std::uint32_t> followed_;
    std::optional<QRect> outer_, inner_;
    // The requests that made the damage objects: what was told before the
    // last of them was answered is of what was there before.
    std::uint16_t firstRequest_ = 0, lastRequest_ = 0;
    std::function<void()> repainted_;
};

} // namespace rondelix::platform::linux_desktop
