#pragma once

class QMargins;
class QWidget;

namespace rondelix::platform::linux_desktop {

// The frame the window manager will draw around a window it has not framed
// yet, as it estimates it when asked: a window sized to the screen before
// that would have its title bar or bottom edge off the screen. Nothing
// (empty margins) without X11, without a window manager that answers the
// question, or when it does not answer within a fraction of a second.
QMargins expectedFrameExtents(QWidget& window);

} // namespace rondelix::platform::linux_desktop
