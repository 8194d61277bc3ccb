#pragma once

#include "model/Config.h"
#include "util/Signal.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace rondelix {

class ConfigStore;

// What the guide needs of the application shell.
struct HowItWorksHost {
    ConfigStore& store;
    // The names of the summon keys, never empty ("Left Alt + Left Super").
    std::function<std::vector<std::string>()> summonKeyNames;
    // Closes the guide's window.
    std::function<void()> close;
};

// One page of the guide: a picture, a title and a sentence or two.
struct GuideStep {
    std::string symbol;
    std::string title;
    std::string text;
    // Which picture illustrates it.
    std::string illustration;
    // The sentence names the summon keys, which stand out in it.
    bool highlightsSummonKeys = false;
};

// A stretch of a step's sentence; the summon keys' names stand out.
struct GuideTextRun {
    std::string text;
    bool keyName = false;

    friend bool operator==(const GuideTextRun&, const GuideTextRun&) = default;
};

// The How Rondelix Works guide: the four gestures and where wheels are made,
// one step at a time, always opening at the first. It follows the summon
// keys and the look as they change. Main thread only.
class HowItWorksGuide {
  public:
    explicit HowItWorksGuide(HowItWorksHost host);
    HowItWorksGuide(const HowItWorksGuide&) = delete;
    HowItWorksGuide& operator=(const HowItWorksGuide&) = delete;

    // Built anew on every read: the first step names the current keys.
    std::vector<GuideStep> steps() const;
    std::size_t index() const { return index_; }
    GuideStep current() const;
    // The current step's sentence in runs.
    std::vector<GuideTextRun> description() const;
    std::vector<std::string> summonKeyNames() const { return host_.summonKeyNames(); }
    // The look the pictures and the accent follow.
    Behavior behavior() const;

    bool showsBack() const { return index_ >= 1; }
    bool onLastStep() const;
    void back();
    // Next, or on the last step Done, which closes the window.
    void primary();

    // Anything the view shows changed.
    Signal<> changed;

  private:
    HowItWorksHost host_;
    std::size_t index_ = 0;
    ScopedConnection configConnection_;
};

// "Hold ", each key name with the list's separators, then the rest of the
// Summon step's sentence.
std::vector<GuideTextRun> summonDescription(const std::vector<std::string>& names);

} // namespace rondelix
