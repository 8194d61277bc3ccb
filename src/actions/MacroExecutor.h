#pragma once

#include "engine/SummonActions.h"
#include "model/MacroAction.h"
#include "platform/MainQueue.h"
#include "platform/Pasteboard.h"
#include "util/LifetimeGuard.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

namespace platform {
class EventTaps;
class HomeFolder;
class Log;
class Processes;
class Sounds;
struct ProcessResult;
class Workspace;
} // namespace platform

// Carries out the one action of a fired slice, at once and without waiting:
// pastes, launches, posts a keystroke, opens a link, or hands over to a child
// process. Failures the user can act on go out as fixed sentences through
// onActionFailed (the beep when nobody listens).
class MacroExecutor final : public SummonActions {
  public:
    struct Platform {
        platform::MainQueue& queue;
        platform::Pasteboard& pasteboard;
        platform::Workspace& workspace;
        platform::Processes& processes;
        platform::EventTaps& taps;
        platform::Sounds& sounds;
        platform::Log& log;
    };

    // Where the executor finds the tools it runs.
    struct Locations {
        std::string loginShell;      // runs script slices as a login shell
        std::string shortcutsFolder; // one executable per named automation
        std::string homeFolder;      // where a new file-manager window opens
        std::string desktop;         // XDG_CURRENT_DESKTOP: whose tools system actions try first
        // The automations as the program ships them; empty where they are not found.
        std::string shippedAutomationsFolder;

        // zsh when it is installed, else bash; the shortcuts folder beside the
        // configuration under that home folder.
        static Locations standard(const platform::HomeFolder& home);
    };

    // A system command waiting in the serial queue.
    struct QueuedCommand {
        std::string launchPath;
        std::vector<std::string> arguments;
        friend bool operator==(const QueuedCommand&, const QueuedCommand&) = default;
    };

    static constexpr std::size_t standardErrorCap = 4096;
    static constexpr std::size_t logExcerptLength = 300;
    // The most of a failed automation's error output that follows its sentence.
    static constexpr std::size_t saidExcerptLength = 100;
    static constexpr double restoreDelaySeconds = 0.3;
    // A system command that hangs (a prompt nobody answers) must not hold
    // every later one back.
    static constexpr double systemCommandTimeLimitSeconds = 30.0;
    // What a slice says when nothing here can do what it asks.
    static constexpr std::string_view unavailableSentence = "That action isn't available.";

    MacroExecutor(Platform platform, Locations locations);
    ~MacroExecutor() override;
    MacroExecutor(const MacroExecutor&) = delete;
    MacroExecutor& operator=(const MacroExecutor&) = delete;

    std::function<void(const std::optional<std::string>& target)> onOpenSettings;
    // After an automation failed and its sentence went out through
    // onActionFailed: the name, so a known one can be offered for setting up.
    std::function<void(const std::string& shortcutName)> onShortcutFailed;
    std::function<void(const std::string& sentence)> onActionFailed;

    void fire(const MacroAction& action) override;

    // The program is quitting: a clipboard still held for a paste goes back
    // to the user now.
    void applicationWillTerminate();

    bool restorePending() const { return pendingRestore_.isValid(); }
    bool systemActionRunning() const { return systemActionRunning_; }
    const std::deque<QueuedCommand>& systemActionQueue() const { return systemActionQueue_; }
    bool wifiToggleInFlight() const { return wifiToggleInFlight_; }

  private:
    void report(const std::string& sentence);
    void beep();

    void pasteText(const std::string& text);
    void restoreClipboard();
    void launchApp(const std::optional<std::string>& identifier, const std::optional<std::string>& path);
    void openURL(const std::string& text);
    void postKeystroke(const KeyCombo& combo);
    void postKey(int keyCode, std::uint64_t flags);
    void pressKey(int keyType);

    void runChecked(const QueuedCommand& command, std::optional<double> timeLimit,
                    std::function<void(const platform::ProcessResult&)> onFailure,
                    std::function<void()> completion);
    void runScript(const std::string& script);
    void runShortcut(const std::string& name);
    void runShortcutFile(const std::string& name, std::vector<std::string> files, std::size_t next);
    void runSystemAction(const std::string& id);
    void enqueue(QueuedCommand command);
    void pumpSystemActions();
    void lockScreen();
    void toggleWiFi();
    void openHomeFolder();

    Platform platform_;
    Locations locations_;

    platform::Cancel pendingRestore_;
    std::optional<std::vector<platform::PasteboardItem>> pendingOriginalItems_;
    long pendingChangeCount_ = 0;
    // The primary selection from before a paste that went through it, put
    // back with the clipboard.
    std::optional<std::optional<std::string>> pendingPrimary_;
    bool wifiToggleInFlight_ = false;
    std::deque<QueuedCommand> systemActionQueue_;
    bool systemActionRunning_ = false;

    // Work that comes back later checks this before touching the executor.
    LifetimeGuard lifetime_;
};

} // namespace rondelix
