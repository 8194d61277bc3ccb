#include "overlay/CaretLocator.h"

#include <algorithm>
#include <cmath>

namespace rondelix {

using platform::AccessibleElement;
using platform::Rect;

namespace {

// A caret is a line: zero width is fine, zero height, a negative width or a
// non-finite value is not.
bool isUsableCaret(const Rect& r) {
    return r.height > 0 && r.width >= 0 && std::isfinite(r.height) && std::isfinite(r.width) &&
           std::isfinite(r.x) && std::isfinite(r.y);
}

// Accessibility answers with the origin at the top left of the primary
// screen; the overlay places with the origin at its bottom left.
Rect flippedToBottomLeft(const Rect& r, const platform::Screens& screens) {
    const auto all = screens.screens();
    if (all.empty()) return r;
    const double primaryHeight = all.front().frame.height;
    return {r.x, primaryHeight - r.y - r.height, r.width, r.height};
}

// A program that answers garbage must not send the wheel off every screen:
// such an answer counts as no answer.
bool touchesAScreen(const Rect& r, const platform::Screens& screens) {
    const auto all = screens.screens();
    if (all.empty()) return true;
    return std::ranges::any_of(all, [&](const platform::Screen& s) {
        const Rect& f = s.frame;
        return r.x <= f.x + f.width && r.x + r.width >= f.x && r.y <= f.y + f.height && r.y + r.height >= f.y;
    });
}

std::optional<Rect> placed(const Rect& r, const platform::Screens& screens) {
    const Rect flipped = flippedToBottomLeft(r, screens);
    if (!touchesAScreen(flipped, screens)) return std::nullopt;
    return flipped;
}

// Every query after the first starts only while the search has time left, so
// a program that hangs holds the summon up for the deadline plus at most one
// messaging time-out.
struct Search {
    const platform::MainQueue& clock;
    double deadline;
    bool inTime() const { return clock.now() < deadline; }
};

// What the caret search found: the caret, nothing, or an answer that cannot
// be the caret, after which the program's other answers are not trusted
// either and the wheel opens at the pointer.
struct CaretAnswer {
    std::optional<Rect> rect;
    bool untrustworthy = false;
};

// A caret lies in its own field. Some programs that do not know where their
// caret is answer the screen's origin (a terminal under Plasma's
// accessibility does): an answer outside the field's frame is no caret, and
// with no frame to check against, neither is one at the origin.
bool liesInItsField(const Rect& caret, AccessibleElement& element, const Search& search) {
    const auto frame = search.inTime() ? element.frame() : std::nullopt;
    if (!frame || frame->isEmpty()) return caret.x != 0 || caret.y != 0;
    constexpr double slack = 2;
    const double x = caret.x + caret.width / 2, y = caret.y + caret.height / 2;
    return x >= frame->x - slack && x <= frame->x + frame->width + slack && y >= frame->y - slack &&
           y <= frame->y + frame->height + slack;
}

CaretAnswer caretBoundsRect(AccessibleElement& element, const Search& search,
                            const platform::Screens& screens) {
    const auto selection = element.selectedTextRange();
    if (!selection || !search.inTime()) return {};
    const auto checked = [&](const Rect& r) -> CaretAnswer {
        auto p = placed(r, screens);
        if (!p) return {};
        if (!liesInItsField(r, element, search)) return {std::nullopt, true};
        return {p};
    };

    // The empty range at the selection's start is the caret itself.
    if (auto r = element.boundsForRange({selection->location, 0}); r && isUsableCaret(*r))
        if (auto answer = checked(*r); answer.rect || answer.untrustworthy) return answer;

    // Some programs answer the empty range with nothing useful but do know
    // where the whole selection is.
    if (search.inTime()) {
        if (auto r = element.boundsForRange(*selection); r && isUsableCaret(*r)) return checked(*r);
    }
    return {};
}

std::optional<Rect> focusedFrameRect(AccessibleElement& element, const Search& search,
                                     const platform::Screens& screens) {
    if (auto frame = element.frame(); frame && !frame->isEmpty())
        if (auto p = placed(*frame, screens)) return p;
    if (!search.inTime()) return std::nullopt;
    const auto position = element.position();
    if (!position || !search.inTime()) return std::nullopt;
    const auto size = element.size();
    if (!size) return std::nullopt;
    const Rect r{position->x, position->y, size->width, size->height};
    if (r.isEmpty()) return std::nullopt;
    return placed(r, screens);
}

} // namespace

std::optional<Rect> CaretLocator::caretRect(platform::Accessibility& accessibility,
                                            const platform::Screens& screens,
                                            const platform::MainQueue& clock) {
    const Search search{clock, clock.now() + searchDeadline};
    accessibility.setMessagingTimeout(messagingTimeout);
    const auto focused = accessibility.focusedElement();
    if (!focused || !search.inTime()) return std::nullopt;
    focused->setMessagingTimeout(messagingTimeout);

    const CaretAnswer caret = caretBoundsRect(*focused, search, screens);
    if (caret.rect || caret.untrustworthy) return caret.rect;
    if (search.inTime()) return focusedFrameRect(*focused, search, screens);
    return std::nullopt;
}

} // namespace rondelix
