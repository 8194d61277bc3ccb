#pragma once

#include "catalog/ShortcutCatalog.h"
#include "platform/MainQueue.h"
#include "util/Result.h"
#include "util/Signal.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace rondelix {

// What the setup window needs of the application shell.
struct ShortcutSetupHost {
    platform::MainQueue& queue;
    // The names of the installed automations as last listed.
    std::function<std::set<std::string>()> installed;
    // Lists the automations again in the background; the shell calls
    // installedChanged() when the answer lands.
    std::function<void()> refresh;
    // Where the program's own automations are; empty when it ships none.
    std::filesystem::path shippedFolder;
    // The user's automation folder and home folder.
    std::filesystem::path automationsFolder;
    std::filesystem::path home;
    // Asks whether the user's own automation of that name may be replaced.
    std::function<bool(const std::string& name)> confirmReplace;
};

// The state of the System Action Setup window: one card per required
// automation in catalogue order, which are installed, which show their steps,
// the re-check, and installing the program's own automations. Main thread only.
class ShortcutSetup {
  public:
    static constexpr double recheckSeconds = 0.7;

    // The automations folder as a person reads it ("~/.config/rondelix/automations").
    std::string automationsFolderShown() const;

    enum class Status { installed, notSetUp };

    struct Card {
        ShortcutRequirement requirement;
        Status status = Status::notSetUp;
        bool highlighted = false;
        // The steps show: only on a card that is not set up.
        bool stepsShown = false;
        // The program ships this automation.
        bool installable = false;
    };

    struct InstallResult {
        enum class Outcome { installed, kept, failed };
        Outcome outcome = Outcome::failed;
        // The sentence for the user when it failed.
        std::string message;
    };

    ShortcutSetup(ShortcutSetupHost host, std::optional<std::string> highlight);
    ~ShortcutSetup();
    ShortcutSetup(const ShortcutSetup&) = delete;
    ShortcutSetup& operator=(const ShortcutSetup&) = delete;

    // The window came on screen.
    void shown();
    std::vector<Card> cards() const;
    void toggleSteps(const std::string& id);
    void recheck();
    bool rechecking() const { return rechecking_; }
    InstallResult install(const std::string& id);
    // The shell's listing changed.
    void installedChanged() { changed.emit(); }

    Signal<> changed;

  private:
    std::optional<std::filesystem::path> shippedFile(const ShortcutRequirement& requirement) const;
    Result<> prepareFolder() const;

    ShortcutSetupHost host_;
    std::optional<std::string> highlight_;
    std::set<std::string> expanded_;
    bool rechecking_ = false;
    platform::Cancel recheckEnd_;
};

} // namespace rondelix
