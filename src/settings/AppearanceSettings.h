#pragma once

#include "model/Behavior.h"
#include "settings/SliderScale.h"
#include "settings/TestWheelControl.h"

#include <string>

namespace rondelix {

class ConfigStore;
class OverlayController;

// The Appearance page: the wheel's size, position, transparency and accent,
// the test wheel, and the app window's glass backdrop.
class AppearanceSettings {
  public:
    static constexpr SliderScale sizeScale{240, 480, 10};
    static constexpr SliderScale transparencyScale{0, 0.8, 0.05};
    static constexpr SliderScale accentStrengthScale{0.2, 1.0, 0.05};

    AppearanceSettings(ConfigStore& store, OverlayController& overlay, TestWheelControl testWheel);

    const Behavior& behavior() const;

    // The size slider shows the real wheel while it is dragged, unless a
    // wheel already shows.
    std::string sizeText() const;
    void beginSizeDrag();
    void setSize(double points);
    void endSizeDrag();

    // A text-caret position, set elsewhere, shows as the cursor.
    Behavior::Position position() const;
    void setPosition(Behavior::Position position);

    // How much the desktop shows through: one minus the wheel's opacity.
    double transparency() const;
    std::string transparencyText() const;
    void setTransparency(double transparency);

    void setAccentHex(const std::string& hex);
    std::string accentStrengthText() const;
    void setAccentStrength(double strength);

    bool testWheelActive() const;
    void toggleTestWheel();
    // The test wheel never outlives the page that started it.
    void leavePage();

    // Size, position, transparency and accent back to the factory look;
    // nothing else changes.
    void resetToDefaultAppearance();

    void setLiquidGlass(bool on);

  private:
    ConfigStore& store_;
    OverlayController& overlay_;
    TestWheelControl testWheel_;
};

} // namespace rondelix
