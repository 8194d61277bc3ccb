#pragma once

#include "platform/Geometry.h"

#include <memory>
#include <optional>

namespace rondelix::platform {

struct TextRange {
    long location = 0;
    long length = 0;
};

// The element that has keyboard focus in the frontmost program. Every answer
// is optional: programs implement what they like, and a call that fails or
// times out simply has no answer. Rectangles and points are in the
// accessibility layer's own coordinates: origin at the top left of the
// primary screen, y growing downwards.
class AccessibleElement {
  public:
    virtual ~AccessibleElement() = default;

    virtual void setMessagingTimeout(double seconds) = 0;
    virtual std::optional<TextRange> selectedTextRange() = 0;
    virtual std::optional<Rect> boundsForRange(TextRange range) = 0;
    virtual std::optional<Rect> frame() = 0;
    virtual std::optional<Point> position() = 0;
    virtual std::optional<Size> size() = 0;
};

class Accessibility {
  public:
    virtual ~Accessibility() = default;

    // Bounds every later call on the system-wide element.
    virtual void setMessagingTimeout(double seconds) = 0;
    // None when nothing has focus or the desktop cannot tell.
    virtual std::unique_ptr<AccessibleElement> focusedElement() = 0;
};

} // namespace rondelix::platform
