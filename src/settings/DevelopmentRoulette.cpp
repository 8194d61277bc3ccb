#include "settings/DevelopmentRoulette.h"

#include "util/CurlyQuoted.h"

#include <random>

namespace rondelix {

namespace {

std::size_t systemRandom(std::size_t count) {
    static std::mt19937_64 generator{std::random_device{}()};
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(generator);
}

} // namespace

DevelopmentRoulette::DevelopmentRoulette(Services services) : services_(std::move(services)) {
    if (!services_.random) services_.random = systemRandom;
}

DevelopmentRoulette::~DevelopmentRoulette() {
    lifetime_.end();
}

std::string DevelopmentRoulette::resultText(const Pick& pick) {
    const std::string name = pick.label.empty() ? "an unlabeled slice" : curlyQuoted(pick.label);
    return "Fired " + name + " from the " + pick.wheelName + " wheel.";
}

void DevelopmentRoulette::spin() {
    if (spinning_) return;
    std::vector<Pick> chambers;
    for (const Wheel& wheel : services_.config().wheels)
        for (const Slice& slice : wheel.slices)
            chambers.push_back({wheel.name, slice.label, slice.action});
    if (chambers.empty()) {
        result_ = "Every chamber is empty.";
        changed.emit();
        return;
    }
    Pick pick = chambers[services_.random(chambers.size())];
    spinning_ = true;
    result_.reset();
    changed.emit();
    services_.queue.after(fireDelay, [this, alive = lifetime_.watch(), fireFeedback = services_.fireFeedback,
                                      fire = services_.fire, pick = std::move(pick)] {
        if (alive) {
            spinning_ = false;
            result_ = resultText(pick);
            changed.emit();
        }
        fireFeedback();
        fire(pick.action);
    });
}

namespace TextCaretSwitch {

bool isOn(const Config& config) {
    return config.behavior.position == Behavior::Position::textCaret;
}

std::optional<std::string> turnOn(Config& config, const std::optional<std::string>& remembered) {
    std::optional<std::string> keep = remembered;
    if (!isOn(config)) keep = std::string(toString(config.behavior.position));
    config.behavior.position = Behavior::Position::textCaret;
    return keep;
}

void turnOff(Config& config, const std::optional<std::string>& remembered) {
    const auto earlier = remembered ? positionFromString(*remembered) : std::nullopt;
    config.behavior.position = earlier.value_or(Behavior::Position::cursor);
}

} // namespace TextCaretSwitch

} // namespace rondelix
