#include "platform/sim/SimAccessibility.h"

namespace rondelix::platform::sim {

class SimAccessibility::SimElement final : public AccessibleElement {
  public:
    SimElement(SimAccessibility& owner, Element element) : owner_(owner), element_(element) {}

    void setMessagingTimeout(double seconds) override { owner_.elementTimeout = seconds; }
    std::optional<TextRange> selectedTextRange() override { return answer(element_.selectedTextRange); }
    std::optional<Rect> boundsForRange(TextRange range) override {
        const auto selection = element_.selectedTextRange;
        const bool caret = selection && range.location == selection->location && range.length == 0;
        return answer(caret ? element_.caretBounds : element_.selectionBounds);
    }
    std::optional<Rect> frame() override { return answer(element_.frame); }
    std::optional<Point> position() override { return answer(element_.position); }
    std::optional<Size> size() override { return answer(element_.size); }

  private:
    template <typename T> std::optional<T> answer(const std::optional<T>& value) {
        owner_.spend();
        return value;
    }

    SimAccessibility& owner_;
    Element element_;
};

std::unique_ptr<AccessibleElement> SimAccessibility::focusedElement() {
    spend();
    if (!focused) return nullptr;
    return std::make_unique<SimElement>(*this, *focused);
}

} // namespace rondelix::platform::sim
