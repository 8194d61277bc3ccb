#pragma once

#include "platform/Accessibility.h"
#include "platform/sim/SimMainQueue.h"

#include <optional>
#include <vector>

namespace rondelix::platform::sim {

// A focused element whose answers the test sets. Each query can be made to
// take time on the virtual clock, to exercise the deadlines.
class SimAccessibility final : public Accessibility {
  public:
    struct Element {
        std::optional<TextRange> selectedTextRange;
        // Answer for an empty range at the selection's start, and for the whole selection.
        std::optional<Rect> caretBounds;
        std::optional<Rect> selectionBounds;
        std::optional<Rect> frame;
        std::optional<Point> position;
        std::optional<Size> size;
    };

    void setMessagingTimeout(double seconds) override { systemTimeout = seconds; }
    std::unique_ptr<AccessibleElement> focusedElement() override;

    // None: nothing has focus.
    std::optional<Element> focused;
    // When set, every query moves this clock forward: the n-th query (counted
    // by `queries`) by queryCosts[n] where given, else by queryCost.
    SimMainQueue* clock = nullptr;
    double queryCost = 0;
    std::vector<double> queryCosts;

    double systemTimeout = 0;
    double elementTimeout = 0;
    int queries = 0;

  private:
    class SimElement;
    void spend() {
        const double cost = size_t(queries) < queryCosts.size() ? queryCosts[size_t(queries)] : queryCost;
        ++queries;
        if (clock && cost > 0) clock->advance(cost);
    }
};

} // namespace rondelix::platform::sim
