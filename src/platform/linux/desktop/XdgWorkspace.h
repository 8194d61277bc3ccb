#pragma once

#include "platform/CurrentDesktop.h"
#include "platform/Processes.h"
#include "platform/Workspace.h"
#include "platform/linux/x11/X11ActiveWindow.h"
#include "util/LifetimeGuard.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace rondelix::platform::linux_desktop {

// Applications as the freedesktop desktop entries describe them: the entry's
// id (its file name without ".desktop") is the identifier, and an application
// path is a desktop entry or an executable. Entries launch through `gio
// launch`, else their Exec line; links go to `xdg-open`. A file is shown
// through the file manager's bus interface, else by opening its folder.
//
// An identifier of another platform that no entry carries (com.apple.finder)
// is looked up through the table of application equivalents: the user's own
// default for its role (mimeapps.list), then the running desktop's own
// program, then the desktop's default where it is shown here and of the
// right kind, then the other common programs of that kind; never one whose
// entry keeps it off this desktop.
class XdgWorkspace final : public Workspace {
  public:
    // `desktop` as XDG_CURRENT_DESKTOP names it.
    explicit XdgWorkspace(Processes& processes, std::string desktop = currentDesktop());

    std::optional<std::string> applicationPath(const std::string& identifier) const override;
    std::optional<std::string> applicationAt(const std::string& path) const override;
    void openApplication(const std::string& path, std::function<void(bool)> completion) override;
    void openLink(const std::string& url, std::function<void(bool)> completion) override;
    void revealFile(const std::string& path, std::function<void(Revealed)> completion) override;
    std::optional<std::string> frontmostApplication() const override;
    void prepareFrontmostApplication() override;
    void readApplicationsAhead(Background& background, MainQueue& queue) override;
    std::optional<std::string> applicationName(const std::string& path) const override;
    std::vector<ApplicationEntry> applications() const override;
    std::vector<std::string> applicationFolders() const override;

    // The installed application a window belongs to: the id the window
    // carries, else the entry that claims its class, else the entry named
    // like the class.
    std::optional<std::string> applicationFor(const ActiveWindowIdentity& window) const;

    PasteKey frontmostPasteKey() const override;
    // How a window pastes: a terminal by its entry's categories, or by its
    // window class when it has no entry.
    PasteKey pasteKeyFor(const ActiveWindowIdentity& window) const;

    struct InstalledApplication {
        std::string id;
        std::string path;
        std::string startupWMClass;
        std::string name;
        bool noDisplay = false;
    };

    // Every installed application entry, ordered by id; an id in a more
    // important folder hides the same id further down.
    static std::vector<InstalledApplication> scanInstalledApplications();

    // Seconds a desktop tool may take to name a role's default application.
    static constexpr double defaultQueryTimeLimit = 2.0;

  private:
    std::optional<std::string> entryPath(const std::string& identifier) const;
    std::optional<std::string> equivalentPath(const std::string& identifier) const;

    // The scan, kept until one of the folders changes: recognising the
    // frontmost application happens on every summon.
    const std::vector<InstalledApplication>& installedApplications() const;

    Processes& processes_;
    std::string desktop_;
    mutable std::vector<InstalledApplication> installed_;
    mutable std::vector<long long> folderStamps_;
    // What each identifier of another platform resolved to, kept until the
    // application folders or the default applications change.
    mutable std::map<std::string, std::optional<std::string>> equivalents_;
    mutable std::vector<long long> equivalentStamps_;
    // The gallery asks about applications from a worker thread while the
    // main thread may be recognising the frontmost one: the caches are
    // filled under this lock (re-entered when a window's id is looked up).
    mutable std::recursive_mutex caches_;
    bool readingAhead_ = false;
    // A list read ahead that arrives after the workspace is gone is dropped.
    LifetimeGuard lifetime_;
};

} // namespace rondelix::platform::linux_desktop
