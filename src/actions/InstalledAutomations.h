#pragma once

#include "catalog/ShortcutCatalog.h"
#include "util/LifetimeGuard.h"
#include "util/Signal.h"

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

namespace platform {
class Background;
class MainQueue;
class Workspace;
} // namespace platform

// The user's named automations: the executables in the automations folder.
// Every window that offers or checks an automation reads this one list; the
// folder is read off the main thread. Main thread only.
class InstalledAutomations {
  public:
    struct Services {
        platform::Background& background;
        platform::MainQueue& queue;
        platform::Workspace& workspace;
    };

    // The shipped folder holds the automations as the program ships them;
    // without one, no installed automation counts as the program's own.
    InstalledAutomations(std::filesystem::path folder, Services services,
                         std::filesystem::path shippedFolder = {});
    ~InstalledAutomations();
    InstalledAutomations(const InstalledAutomations&) = delete;
    InstalledAutomations& operator=(const InstalledAutomations&) = delete;

    const std::filesystem::path& folder() const { return folder_; }

    // The names as last listed, ordered ignoring letter case; empty until the
    // first listing is in.
    const std::vector<std::string>& names() const { return names_; }
    // Whether a listing has come in since the start.
    bool listed() const { return listed_; }
    // Whether an automation of that name is installed, ignoring letter case.
    bool contains(std::string_view name) const;
    // Whether the required automation is installed, under its name or the
    // one it had before.
    bool contains(const ShortcutRequirement& requirement) const;
    // Whether the required automation of that name is installed just as the
    // program ships it, as of the last listing.
    bool installedAsShipped(std::string_view name) const;

    // Reads the folder again. `done` runs on the main thread once the listing
    // is in, also when nothing changed, unless this list is gone by then.
    void refresh(std::function<void()> done = nullptr);

    // The names or what is installed as shipped changed, or the first
    // listing came in.
    Signal<> changed;

    // Opens the folder in the file manager, making it first.
    void openFolder();

  private:
    std::filesystem::path folder_;
    Services services_;
    std::filesystem::path shippedFolder_;
    std::vector<std::string> names_;
    std::set<std::string> asShipped_;
    bool listed_ = false;
    LifetimeGuard lifetime_;
};

} // namespace rondelix
