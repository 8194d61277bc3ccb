#include "guides/HowItWorksGuide.h"

#include "store/ConfigStore.h"
#include "util/SpokenList.h"

#include <algorithm>

namespace rondelix {

namespace {

const char* const summonTail = " to open the wheel, anywhere, over any app.";

} // namespace

std::vector<GuideTextRun> summonDescription(const std::vector<std::string>& names) {
    std::vector<GuideTextRun> runs{{"Hold "}};
    for (std::size_t i = 0; i < names.size(); ++i) {
        runs.push_back({names[i], true});
        if (const auto separator = spokenListSeparator(i, names.size()); !separator.empty())
            runs.push_back({std::string(separator)});
    }
    runs.push_back({summonTail});
    return runs;
}

HowItWorksGuide::HowItWorksGuide(HowItWorksHost host) : host_(std::move(host)) {
    configConnection_ = host_.store.configChanged.connectScoped([this] { changed.emit(); });
}

std::vector<GuideStep> HowItWorksGuide::steps() const {
    return {
        {"hand.point.up.left.fill", "Summon", "Hold " + spokenList(host_.summonKeyNames()) + summonTail,
         "howto-summon", true},
        {"dpad.fill", "Aim", "Point with the arrow keys, or move the mouse, to highlight a slice.",
         "howto-aim"},
        {"bolt.fill", "Fire",
         "Release to run the highlighted action. Release at the center (or press Esc) to cancel.",
         "howto-fire"},
        {"square.grid.2x2", "Switch wheels",
         "While the wheel is open, press Tab, the number keys 1\u20139 (0 for the tenth), or scroll to jump "
         "between your wheels.",
         "howto-switch"},
        {"slider.horizontal.3", "Make it your own",
         "Build wheels in My Wheels, or add ready-made ones from the Wheel Gallery.", "howto-customize"},
    };
}

GuideStep HowItWorksGuide::current() const {
    const auto all = steps();
    return all[std::min(index_, all.size() - 1)];
}

std::vector<GuideTextRun> HowItWorksGuide::description() const {
    const GuideStep step = current();
    if (step.highlightsSummonKeys) return summonDescription(host_.summonKeyNames());
    return {{step.text}};
}

Behavior HowItWorksGuide::behavior() const {
    return host_.store.config().behavior;
}

bool HowItWorksGuide::onLastStep() const {
    return index_ + 1 >= steps().size();
}

void HowItWorksGuide::back() {
    if (index_ == 0) return;
    --index_;
    changed.emit();
}

void HowItWorksGuide::primary() {
    if (onLastStep()) {
        host_.close();
        return;
    }
    ++index_;
    changed.emit();
}

} // namespace rondelix
