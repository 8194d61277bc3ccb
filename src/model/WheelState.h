#pragma once

#include "util/Signal.h"

#include <optional>
#include <string>

namespace rondelix {

// What the overlay shows right now: whether the wheel is up, which wheel, which
// slot is aimed. The summon engine and the overlay controller write it; the
// wheel view redraws from it. Observers hear only of real changes.
class WheelState {
  public:
    enum class Property { isVisible, activeWheelId, aimedPosition, pressedNumberKey };

    bool isVisible() const { return isVisible_; }
    const std::string& activeWheelId() const { return activeWheelId_; }
    std::optional<int> aimedPosition() const { return aimedPosition_; }
    std::optional<int> pressedNumberKey() const { return pressedNumberKey_; }

    void setVisible(bool visible) { assign(isVisible_, visible, Property::isVisible); }
    void setActiveWheelId(const std::string& id) { assign(activeWheelId_, id, Property::activeWheelId); }
    void setAimedPosition(std::optional<int> position) {
        assign(aimedPosition_, position, Property::aimedPosition);
    }
    void setPressedNumberKey(std::optional<int> key) {
        assign(pressedNumberKey_, key, Property::pressedNumberKey);
    }

    // Clears the per-summon state; the active wheel stays what it was.
    void reset() {
        setVisible(false);
        setAimedPosition(std::nullopt);
        setPressedNumberKey(std::nullopt);
    }

    Signal<Property> changed;

  private:
    template <typename T> void assign(T& field, const T& value, Property property) {
        if (field == value) return;
        field = value;
        changed.emit(property);
    }

    bool isVisible_ = false;
    std::string activeWheelId_ = "default";
    std::optional<int> aimedPosition_;
    std::optional<int> pressedNumberKey_;
};

} // namespace rondelix
