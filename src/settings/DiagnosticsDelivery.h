#pragma once

#include "util/LifetimeGuard.h"
#include "util/Signal.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace rondelix {

namespace platform {
class Background;
class Log;
class MainQueue;
class Pasteboard;
class Processes;
class Workspace;
enum class Revealed;
} // namespace platform

// Hands the user the whole support text: copied to the clipboard, or written
// to a file and put into a new mail to support. The slow collectors run off
// the main thread; each button shows its outcome for 2.0 s. Main thread.
class DiagnosticsDelivery {
  public:
    enum class CopyState { idle, gathering, copied };
    // notOpened: no composer and no mail program took the report.
    enum class EmailState { idle, gathering, opened, copied, notOpened };

    static constexpr double resetDelay = 2.0;

    struct Services {
        platform::MainQueue& queue;
        platform::Background& background;
        platform::Pasteboard& pasteboard;
        platform::Processes& processes;
        platform::Workspace& workspace;
        platform::Log& log;
    };
    struct Sources {
        // The report of the moment, with the grants refreshed first; main thread.
        std::function<std::string()> snapshot;
        // The recent log text and the Shortcut details; any thread.
        std::function<std::string()> recentLog;
        std::function<std::string()> shortcuts;
        std::string version;
        // A folder only the user can reach: the diagnostics file lands there.
        // Without one the text is copied to the clipboard instead.
        std::optional<std::filesystem::path> folder;
    };

    DiagnosticsDelivery(Services services, Sources sources);
    ~DiagnosticsDelivery();
    DiagnosticsDelivery(const DiagnosticsDelivery&) = delete;
    DiagnosticsDelivery& operator=(const DiagnosticsDelivery&) = delete;

    void copy();
    void email();

    CopyState copyState() const { return copyState_; }
    EmailState emailState() const { return emailState_; }
    // One delivery at a time: both buttons wait while either gathers.
    bool busy() const { return copyState_ == CopyState::gathering || emailState_ == EmailState::gathering; }
    // None without a private folder for it.
    std::optional<std::filesystem::path> file() const;
    std::string subject() const;
    // The report no mail program opened, until the next e-mail is asked for.
    const std::optional<std::filesystem::path>& unsentReport() const { return unsentReport_; }

    Signal<> changed;

  private:
    // Runs the collectors off the main thread, then `deliver` with the full
    // text on it, unless this object is gone by then.
    void gather(std::function<void(DiagnosticsDelivery&, std::string)> deliver);
    void compose(const std::string& text);
    void fallBack();
    void askForTheFileByMail(platform::Revealed revealed);
    void showEmailResult(EmailState state);
    void setCopy(CopyState state);
    void setEmail(EmailState state);

    Services services_;
    Sources sources_;
    CopyState copyState_ = CopyState::idle;
    EmailState emailState_ = EmailState::idle;
    std::optional<std::filesystem::path> unsentReport_;
    LifetimeGuard lifetime_;
};

} // namespace rondelix
