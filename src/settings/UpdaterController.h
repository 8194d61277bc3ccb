#pragma once

#include "platform/Updater.h"
#include "util/LifetimeGuard.h"
#include "util/Signal.h"

#include <memory>
#include <optional>
#include <string>
#include <variant>

namespace rondelix {

namespace platform {
class MainQueue;
}

// The program's side of the update framework: whether a check may start, the
// state of the last check for the About page, and the version a scheduled
// check wants to show. Main thread only; reports from other threads hop to
// the main queue first.
class UpdaterController final : public platform::UpdaterDelegate {
  public:
    struct UpToDate {
        std::string version;
        friend bool operator==(const UpToDate&, const UpToDate&) = default;
    };
    struct UpdateAvailable {
        std::string version;
        friend bool operator==(const UpdateAvailable&, const UpdateAvailable&) = default;
    };
    struct Installing {
        std::string version;
        friend bool operator==(const Installing&, const Installing&) = default;
    };
    struct Failed {
        std::string message;
        friend bool operator==(const Failed&, const Failed&) = default;
    };
    struct Idle {
        friend bool operator==(const Idle&, const Idle&) = default;
    };
    struct Checking {
        friend bool operator==(const Checking&, const Checking&) = default;
    };
    using Status = std::variant<UpToDate, UpdateAvailable, Installing, Failed, Idle, Checking>;

    enum class Property { status, canStandardCheck, scheduledUpdatePending };

    // Starts the framework at once.
    UpdaterController(platform::Updater& updater, platform::MainQueue& queue);
    ~UpdaterController() override;
    UpdaterController(const UpdaterController&) = delete;
    UpdaterController& operator=(const UpdaterController&) = delete;

    const Status& status() const { return status_; }
    void setStatus(Status status);
    std::string statusText() const;

    // A check may start and none is running or installing.
    bool canCheck() const;
    // The framework's own answer, which the menus follow.
    bool canStandardCheck() const { return canStandardCheck_; }

    const std::optional<std::string>& scheduledUpdatePending() const { return scheduledUpdatePending_; }
    void setScheduledUpdatePending(std::optional<std::string> version);

    const std::optional<std::string>& foundVersion() const { return foundVersion_; }
    platform::Updater& updater() { return updater_; }

    Signal<Property> changed;

    // The framework's reports.
    void didFindValidUpdate(const std::string& displayVersion) override;
    void didNotFindUpdate() override;
    void didAbortWithError(const platform::UpdateError& error) override;
    void willShowUpdate(bool userInitiated, const std::string& displayVersion) override;
    void didReceiveUserAttention(const std::string& displayVersion) override;

    // Every distinct description along the chain of wrapped errors, outermost
    // first, joined by "; ".
    static std::string detail(const platform::UpdateError& error);

  private:
    std::string currentVersion() const;
    void setCanStandardCheck(bool canCheck);
    void onMainQueue(std::function<void(UpdaterController&)> step);

    platform::Updater& updater_;
    platform::MainQueue& queue_;
    Status status_ = Idle{};
    std::optional<std::string> foundVersion_;
    bool canStandardCheck_ = false;
    std::optional<std::string> scheduledUpdatePending_;
    LifetimeGuard lifetime_;
};

} // namespace rondelix
