#pragma once

#include "platform/Background.h"
#include "platform/MainQueue.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rondelix::platform {

// One installed application as a chooser lists it.
struct ApplicationEntry {
    std::string identifier;
    std::string name;
    std::string path;

    friend bool operator==(const ApplicationEntry&, const ApplicationEntry&) = default;
};

// The desktop's knowledge of installed applications and its opener for links.
// An application is known by an identifier (on the Linux desktop the id of its
// desktop entry) and lives at a path.
// How the application with the focus takes a paste from the keyboard:
// terminals paste with Ctrl+Shift+V, those of the xterm family only the
// primary selection with Shift+Insert.
enum class PasteKey { controlV, controlShiftV, shiftInsert };

// How far showing a file in the file manager went.
enum class Revealed { selected, folderOpened, nothing };

class Workspace {
  public:
    virtual ~Workspace() = default;

    // The location of the application with this identifier, or none when no
    // such application is installed.
    virtual std::optional<std::string> applicationPath(const std::string& identifier) const = 0;

    // The path with symbolic links resolved when it names an application, or
    // none when it does not (missing, a folder, a plain document).
    virtual std::optional<std::string> applicationAt(const std::string& path) const = 0;

    // Starts the application at a location that applicationPath or
    // applicationAt gave. The completion runs on the main queue with false
    // when the application could not be started.
    virtual void openApplication(const std::string& path, std::function<void(bool started)> completion) = 0;

    // Hands a link with a scheme to the desktop's opener. The completion runs
    // on the main queue with false when nothing opened it.
    virtual void openLink(const std::string& url, std::function<void(bool opened)> completion) = 0;

    // Shows the file at this path in the file manager: selected in its
    // folder where the file manager can do that, else by opening the folder.
    // The completion runs on the main queue with how far it went.
    virtual void revealFile(const std::string& path, std::function<void(Revealed)> completion) = 0;

    // The name the desktop shows for the application at a location that
    // applicationPath or applicationAt gave, or none when it has none of its own.
    virtual std::optional<std::string> applicationName(const std::string&) const { return std::nullopt; }

    // The identifier of the application whose window has the focus, or none
    // when there is no such window or its application has no identifier.
    virtual std::optional<std::string> frontmostApplication() const = 0;

    virtual PasteKey frontmostPasteKey() const { return PasteKey::controlV; }

    // Makes ready what asking for the frontmost application needs from the
    // desktop, so that the first question, which a summon asks while it
    // arms, is as quick as any later one.
    virtual void prepareFrontmostApplication() {}

    // Reads on the background what frontmostApplication will need from the
    // disk, so a call soon after finds it read; the result comes back
    // through the queue. What it has to read is read anyway when not back.
    virtual void readApplicationsAhead(Background&, MainQueue&) {}

    // The applications a person can start from the desktop's menus, in no
    // particular order.
    virtual std::vector<ApplicationEntry> applications() const = 0;

    // The folders whose desktop entries are the installed applications, as
    // absolute paths; none known makes every application path count as a file.
    virtual std::vector<std::string> applicationFolders() const { return {}; }
};

} // namespace rondelix::platform
