#pragma once

class QRegion;
class QWidget;

namespace rondelix::platform::linux_desktop {

// Asks the compositor to blur what lies behind a translucent window, through
// the window property that compositors offering the blur read. Compositors
// without it ignore the property, and the window stays plainly translucent.
void requestBlurBehind(QWidget& window, bool blur);
// The same, for the part of the window the region covers.
void requestBlurBehindRegion(QWidget& window, const QRegion& region);
// Whether the running compositor says it blurs behind windows that ask: it
// lists the property among the window manager's supported ones, or, as
// KWin's blur effect does, sets it on the root window; and a KWin on the
// session bus says its blur effect is loaded. Asks KWin each time, waiting
// at most half a second for its answer.
bool blurBehindOffered();

} // namespace rondelix::platform::linux_desktop
