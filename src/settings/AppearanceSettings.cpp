#include "settings/AppearanceSettings.h"

#include "overlay/OverlayController.h"
#include "settings/ValueText.h"
#include "store/ConfigStore.h"

#include <utility>

namespace rondelix {

AppearanceSettings::AppearanceSettings(ConfigStore& store, OverlayController& overlay,
                                       TestWheelControl testWheel)
    : store_(store), overlay_(overlay), testWheel_(std::move(testWheel)) {}

const Behavior& AppearanceSettings::behavior() const {
    return store_.config().behavior;
}

std::string AppearanceSettings::sizeText() const {
    return ValueText::pixels(behavior().wheelSize);
}

void AppearanceSettings::beginSizeDrag() {
    overlay_.beginSizePreview();
}

void AppearanceSettings::setSize(double points) {
    store_.mutate([&](Config& config) { config.behavior.wheelSize = points; });
    if (overlay_.previewingSize()) overlay_.present(behavior().wheelSize, Behavior::Position::cursor, false);
    if (testWheelActive()) overlay_.refreshTestWheelSize();
}

void AppearanceSettings::endSizeDrag() {
    if (!overlay_.previewingSize()) return;
    overlay_.setPreviewingSize(false);
    overlay_.hide();
}

Behavior::Position AppearanceSettings::position() const {
    const auto stored = behavior().position;
    return stored == Behavior::Position::textCaret ? Behavior::Position::cursor : stored;
}

void AppearanceSettings::setPosition(Behavior::Position position) {
    store_.mutate([&](Config& config) { config.behavior.position = position; });
}

double AppearanceSettings::transparency() const {
    return 1 - behavior().opacity;
}

std::string AppearanceSettings::transparencyText() const {
    return ValueText::percent(transparency());
}

void AppearanceSettings::setTransparency(double transparency) {
    store_.mutate([&](Config& config) { config.behavior.opacity = 1 - transparency; });
    overlay_.refreshTestWheelOpacity();
}

void AppearanceSettings::setAccentHex(const std::string& hex) {
    store_.mutate([&](Config& config) { config.behavior.accentHex = hex; });
}

std::string AppearanceSettings::accentStrengthText() const {
    return ValueText::percent(behavior().accentStrength);
}

void AppearanceSettings::setAccentStrength(double strength) {
    store_.mutate([&](Config& config) { config.behavior.accentStrength = strength; });
}

bool AppearanceSettings::testWheelActive() const {
    return testWheel_.isActive && testWheel_.isActive();
}

void AppearanceSettings::toggleTestWheel() {
    if (testWheel_.toggle) testWheel_.toggle();
}

void AppearanceSettings::leavePage() {
    if (testWheel_.deactivate) testWheel_.deactivate();
}

void AppearanceSettings::resetToDefaultAppearance() {
    store_.mutate([](Config& config) {
        const Behavior factory;
        Behavior& b = config.behavior;
        b.wheelSize = factory.wheelSize;
        b.position = factory.position;
        b.opacity = factory.opacity;
        b.accentHex = factory.accentHex;
        b.accentStrength = factory.accentStrength;
    });
    if (testWheelActive()) overlay_.refreshTestWheelSize();
}

void AppearanceSettings::setLiquidGlass(bool on) {
    store_.mutate([&](Config& config) { config.behavior.liquidGlassEnabled = on; });
}

} // namespace rondelix
