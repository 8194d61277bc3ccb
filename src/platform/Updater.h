#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace rondelix::platform {

// An error of the update framework with the error it wraps, if any.
struct UpdateError {
    std::string description;
    std::shared_ptr<const UpdateError> underlying;
};

// What the update framework reports back. The found-update, no-update and
// abort reports come on the main thread; the two about showing an update may
// come on any thread.
class UpdaterDelegate {
  public:
    virtual ~UpdaterDelegate() = default;

    virtual void didFindValidUpdate(const std::string& displayVersion) = 0;
    virtual void didNotFindUpdate() = 0;
    virtual void didAbortWithError(const UpdateError& error) = 0;
    // The framework is about to show an update to the user.
    virtual void willShowUpdate(bool userInitiated, const std::string& displayVersion) = 0;
    // The user attended to the update the framework showed.
    virtual void didReceiveUserAttention(const std::string& displayVersion) = 0;
};

// The update framework: checks for a newer version of the program, with its
// own windows for an interactive check.
class Updater {
  public:
    virtual ~Updater() = default;

    // Starts the framework (scheduled checks follow its own settings).
    // `canCheckChanged` may be called on any thread, once at start and at
    // every change of canCheckForUpdates().
    virtual void start(UpdaterDelegate& delegate, std::function<void()> canCheckChanged) = 0;

    virtual bool canCheckForUpdates() const = 0;
    // An interactive check with the framework's own windows.
    virtual void checkForUpdates() = 0;
    // A silent probe that ends in one of the delegate's three reports.
    virtual void checkForUpdateInformation() = 0;

    // The program's own version text, when the build knows it.
    virtual std::optional<std::string> currentVersion() const = 0;
    // Why this system never checks, when it never does.
    virtual std::optional<std::string> unavailableReason() const = 0;
};

} // namespace rondelix::platform
