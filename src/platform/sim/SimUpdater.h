#pragma once

#include "platform/Updater.h"

namespace rondelix::platform::sim {

// An update framework driven by the test: it sets whether a check can start,
// reads which checks were asked for, and delivers the framework's reports
// through delegate().
class SimUpdater final : public Updater {
  public:
    void start(UpdaterDelegate& delegate, std::function<void()> canCheckChanged) override {
        ++starts;
        delegate_ = &delegate;
        canCheckChanged_ = std::move(canCheckChanged);
        canCheckChanged_();
    }
    bool canCheckForUpdates() const override { return canCheck_; }
    void checkForUpdates() override { ++interactiveChecks; }
    void checkForUpdateInformation() override { ++probes; }
    std::optional<std::string> currentVersion() const override { return version; }
    std::optional<std::string> unavailableReason() const override { return reason; }

    // Changes the flag and tells the controller, as the framework would.
    void setCanCheck(bool canCheck) {
        canCheck_ = canCheck;
        if (canCheckChanged_) canCheckChanged_();
    }
    UpdaterDelegate& delegate() { return *delegate_; }

    std::optional<std::string> version = "1.4.0";
    std::optional<std::string> reason;
    int starts = 0;
    int interactiveChecks = 0;
    int probes = 0;

  private:
    bool canCheck_ = false;
    UpdaterDelegate* delegate_ = nullptr;
    std::function<void()> canCheckChanged_;
};

} // namespace rondelix::platform::sim
