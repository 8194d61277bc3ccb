#pragma once

#include "model/Config.h"
#include "platform/MainQueue.h"
#include "util/LifetimeGuard.h"
#include "util/Signal.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace rondelix {

// The Macro Roulette of the Development page: picks one slice of any wheel
// at random and, 0.8 s later, fires it for real. The pick is a copy, so edits
// made meanwhile do not change what fires, and it fires even when the page
// has gone away by then. Main thread.
class DevelopmentRoulette {
  public:
    static constexpr double fireDelay = 0.8;

    struct Pick {
        std::string wheelName;
        std::string label;
        MacroAction action;
    };
    struct Services {
        platform::MainQueue& queue;
        std::function<Config()> config;
        // Uniform in [0, count); the system's random source unless a test brings its own.
        std::function<std::size_t(std::size_t count)> random;
        // The fire feedback, then the action; both outlive the page.
        std::function<void()> fireFeedback;
        std::function<void(const MacroAction&)> fire;
    };

    explicit DevelopmentRoulette(Services services);
    ~DevelopmentRoulette();
    DevelopmentRoulette(const DevelopmentRoulette&) = delete;
    DevelopmentRoulette& operator=(const DevelopmentRoulette&) = delete;

    void spin();
    bool spinning() const { return spinning_; }
    const std::optional<std::string>& result() const { return result_; }

    // "Fired “label” from the Name wheel." for a pick.
    static std::string resultText(const Pick& pick);

    Signal<> changed;

  private:
    Services services_;
    bool spinning_ = false;
    std::optional<std::string> result_;
    LifetimeGuard lifetime_;
};

// The Development page's text-caret switch: on while the wheel opens at the
// text caret. Turning it on remembers where the wheel opened before, and
// turning it off goes back there (to the pointer when nothing was kept).
namespace TextCaretSwitch {
bool isOn(const Config& config);
// `remembered` is the stored earlier position, as its name.
std::optional<std::string> turnOn(Config& config, const std::optional<std::string>& remembered);
void turnOff(Config& config, const std::optional<std::string>& remembered);
} // namespace TextCaretSwitch

} // namespace rondelix
