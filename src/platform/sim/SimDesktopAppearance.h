#pragma once

#include "platform/DesktopAppearance.h"

namespace rondelix::platform::sim {

// Settings a test sets; a change that changes something is announced.
class SimDesktopAppearance final : public DesktopAppearance {
  public:
    AppearanceSettings settings() const override { return settings_; }

    void set(const AppearanceSettings& settings) {
        if (settings == settings_) return;
        settings_ = settings;
        changed.emit();
    }

  private:
    AppearanceSettings settings_;
};

} // namespace rondelix::platform::sim
