#include "platform/linux/desktop/XdgWorkspace.h"

#include "platform/XdgFolders.h"
#include "platform/linux/desktop/ApplicationEquivalents.h"
#include "platform/linux/desktop/DBusFileManager.h"
#include "platform/linux/desktop/DesktopEntry.h"
#include "platform/linux/process/CommandOutput.h"
#include "util/Ascii.h"

#include <QUrl>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace rondelix::platform::linux_desktop {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view entrySuffix = ".desktop";

bool endsWithEntrySuffix(std::string_view name) {
    if (name.size() < entrySuffix.size()) return false;
    return equalIgnoringCase(name.substr(name.size() - entrySuffix.size()), entrySuffix);
}

std::string withoutEntrySuffix(std::string id) {
    if (id.ends_with(entrySuffix)) id.resize(id.size() - entrySuffix.size());
    return id;
}

bool isInstalledApplication(const std::string& path) {
    const auto entry = DesktopEntry::read(path);
    return entry && entry->isApplication();
}

// Runs the program in the background of a short-lived shell, so that it
// outlives the request and is nobody's child to wait for. The program and its
// arguments travel as the shell's positional parameters, never as part of
// its command text.
constexpr const char* detachScript =
    "command -v \"$0\" >/dev/null 2>&1 || exit 127; \"$0\" \"$@\" </dev/null >/dev/null 2>&1 &";

void launchDetached(Processes& processes, std::vector<std::string> arguments,
                    std::function<void(bool)> completion) {
    ProcessRequest request;
    request.program = "/bin/sh";
    request.arguments = {"-c", detachScript};
    request.arguments.insert(request.arguments.end(), arguments.begin(), arguments.end());
    processes.run(std::move(request), [completion = std::move(completion)](const ProcessResult& result) {
        completion(result.launched && result.status == 0);
    });
}

long long modificationStamp(const fs::path& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return -1;
    return static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
}

std::vector<long long> applicationFolderStamps() {
    std::vector<long long> stamps;
    for (const auto& folder : platform::applicationFolders())
        stamps.push_back(modificationStamp(folder));
    return stamps;
}

// Where the user's own choices of default applications are kept, the running
// desktop's own file first.
std::vector<std::string> userDefaultApplicationFiles(std::string_view desktop) {
    std::vector<std::string> files;
    while (!desktop.empty()) {
        const std::size_t colon = std::min(desktop.find(':'), desktop.size());
        if (colon > 0)
            files.push_back((userConfigFolder() /
                             (asciiLowercased(std::string(desktop.substr(0, colon))) + "-mimeapps.list"))
                                .string());
        desktop.remove_prefix(std::min(colon + 1, desktop.size()));
    }
    files.push_back((userConfigFolder() / "mimeapps.list").string());
    return files;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The first line of a tool's answer, without blanks around it.
std::string firstLine(const std::string& text) {
    const auto end = text.find('\n');
    std::string line = text.substr(0, end);
    while (!line.empty() && isAsciiSpace(line.back()))
        line.pop_back();
    std::size_t start = 0;
    while (start < line.size() && isAsciiSpace(line[start]))
        ++start;
    return line.substr(start);
}

} // namespace

XdgWorkspace::XdgWorkspace(Processes& processes, std::string desktop)
    : processes_(processes), desktop_(std::move(desktop)) {}

std::vector<XdgWorkspace::InstalledApplication> XdgWorkspace::scanInstalledApplications() {
    std::map<std::string, InstalledApplication> entries;
    for (const auto& folder : platform::applicationFolders()) {
        std::error_code error;
        fs::recursive_directory_iterator walk(folder, error);
        for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
            const auto& path = walk->path();
            if (path.extension() != entrySuffix) continue;
            // A subfolder's entry is known by its relative path with "-"
            // for "/": applications/kde/foo.desktop is kde-foo.
            auto id = withoutEntrySuffix(fs::relative(path, folder, error).string());
            std::replace(id.begin(), id.end(), '/', '-');
            if (entries.count(id) != 0) continue;
            const auto entry = DesktopEntry::read(path.string());
            if (entry && entry->isApplication())
                entries.emplace(id, InstalledApplication{id, path.string(), entry->startupWMClass,
                                                         entry->name, entry->noDisplay});
        }
    }
    std::vector<InstalledApplication> applications;
    for (auto& [id, application] : entries)
        applications.push_back(std::move(application));
    return applications;
}

const std::vector<XdgWorkspace::InstalledApplication>& XdgWorkspace::installedApplications() const {
    auto stamps = applicationFolderStamps();
    if (stamps != folderStamps_ || installed_.empty()) {
        installed_ = scanInstalledApplications();
        folderStamps_ = std::move(stamps);
    }
    return installed_;
}

std::optional<std::string> XdgWorkspace::applicationPath(const std::string& identifier) const {
    const std::lock_guard guard(caches_);
    if (auto path = entryPath(identifier)) return path;
    return equivalentPath(identifier);
}

std::optional<std::string> XdgWorkspace::entryPath(const std::string& identifier) const {
    const std::string id = withoutEntrySuffix(identifier);
    if (id.empty() || id.find('/') != std::string::npos || id == "." || id == "..") return std::nullopt;
    for (const auto& folder : platform::applicationFolders()) {
        const std::string path = (folder / (id + std::string(entrySuffix))).string();
        // The first folder that has the entry decides, even when it hides
        // the application.
        if (::access(path.c_str(), F_OK) == 0)
            return isInstalledApplication(path) ? std::optional(path) : std::nullopt;
    }
    if (id.find('-') == std::string::npos) return std::nullopt;
    for (const auto& application : installedApplications())
        if (application.id == id) return application.path;
    return std::nullopt;
}

std::optional<std::string> XdgWorkspace::equivalentPath(const std::string& identifier) const {
    const ApplicationEquivalent* row = findApplicationEquivalent(identifier);
    if (!row) return std::nullopt;
    auto stamps = applicationFolderStamps();
    const auto userFiles = userDefaultApplicationFiles(desktop_);
    for (const auto& file : userFiles)
        stamps.push_back(modificationStamp(file));
    if (stamps != equivalentStamps_) {
        equivalents_.clear();
        equivalentStamps_ = std::move(stamps);
    }
    if (const auto known = equivalents_.find(identifier); known != equivalents_.end()) return known->second;

    std::vector<std::string> userChoices;
    if (const std::string_view mimeType = roleMimeType(row->role); !mimeType.empty())
        for (const auto& file : userFiles)
            for (auto& id : mimeappsDefaults(fileText(file), mimeType))
                userChoices.push_back(std::move(id));
    std::optional<std::string> desktopDefault;
    if (const auto query = roleDefaultQuery(row->role); !query.empty())
        if (const auto answer = commandOutput(query, defaultQueryTimeLimit))
            if (const std::string id = withoutEntrySuffix(firstLine(*answer)); !id.empty())
                desktopDefault = id;

    // A program its entry keeps off this desktop (another desktop's settings
    // manager) never stands in: it would open that desktop's settings here.
    std::optional<std::string> found;
    for (const std::string& id : equivalentCandidates(*row, desktop_, userChoices, desktopDefault)) {
        const auto path = entryPath(id);
        if (!path) continue;
        const auto entry = DesktopEntry::read(*path);
        if (entry && isOfKind(*row, id, entry->categories) && entry->shownOn(desktop_)) {
            found = path;
            break;
        }
    }
    equivalents_[identifier] = found;
    return found;
}

std::optional<std::string> XdgWorkspace::applicationName(const std::string& path) const {
    if (!endsWithEntrySuffix(path)) return std::nullopt;
    const auto entry = DesktopEntry::read(path);
    if (!entry || entry->name.empty()) return std::nullopt;
    return entry->name;
}

std::optional<std::string> XdgWorkspace::applicationAt(const std::string& path) const {
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved)) return std::nullopt;
    struct stat info {};
    if (::stat(resolved, &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    if (endsWithEntrySuffix(resolved))
        return isInstalledApplication(resolved) ? std::optional<std::string>(resolved) : std::nullopt;
    if (::access(resolved, X_OK) == 0) return std::string(resolved);
    return std::nullopt;
}

void XdgWorkspace::openApplication(const std::string& path, std::function<void(bool)> completion) {
    if (!endsWithEntrySuffix(path)) {
        launchDetached(processes_, {path}, std::move(completion));
        return;
    }
    ProcessRequest request;
    request.program = "gio";
    request.arguments = {"launch", path};
    processes_.run(std::move(request), [&processes = processes_, path,
                                        completion = std::move(completion)](const ProcessResult& result) {
        if (result.launched) {
            completion(result.status == 0);
            return;
        }
        // No gio on this desktop: start the entry's own command line.
        const auto entry = DesktopEntry::read(path);
        auto arguments = entry ? entry->execArguments() : std::vector<std::string>{};
        if (arguments.empty()) {
            completion(false);
            return;
        }
        launchDetached(processes, std::move(arguments), completion);
    });
}

void XdgWorkspace::openLink(const std::string& url, std::function<void(bool)> completion) {
    ProcessRequest request;
    request.program = "xdg-open";
    request.arguments = {url};
    // Run from the root so that nothing the link text says is looked up
    // among the user's files.
    request.workingDirectory = "/";
    processes_.run(std::move(request), [completion = std::move(completion)](const ProcessResult& result) {
        completion(result.launched && result.status == 0);
    });
}

void XdgWorkspace::revealFile(const std::string& path, std::function<void(Revealed)> completion) {
    DBusFileManager::showItem(
        QDBusConnection::sessionBus(), path,
        [this, alive = lifetime_.watch(), path, completion = std::move(completion)](bool shown) mutable {
            if (!alive) return;
            if (shown) {
                completion(Revealed::selected);
                return;
            }
            const auto folder = std::filesystem::path(path).parent_path().string();
            openLink(QUrl::fromLocalFile(QString::fromStdString(folder))
                         .toString(QUrl::FullyEncoded)
                         .toStdString(),
                     [completion = std::move(completion)](bool opened) {
                         completion(opened ? Revealed::folderOpened : Revealed::nothing);
                     });
        });
}

void XdgWorkspace::readApplicationsAhead(Background& background, MainQueue& queue) {
    {
        const std::lock_guard guard(caches_);
        if (readingAhead_ || (!installed_.empty() && applicationFolderStamps() == folderStamps_)) return;
        readingAhead_ = true;
    }
    background.run([this, alive = lifetime_.watch(), &queue] {
        // Stamped before the reading, so a folder changed meanwhile is read again.
        auto stamps = applicationFolderStamps();
        auto applications = scanInstalledApplications();
        queue.post(
            [this, alive, stamps = std::move(stamps), applications = std::move(applications)]() mutable {
                if (!alive) return;
                const std::lock_guard guard(caches_);
                readingAhead_ = false;
                installed_ = std::move(applications);
                folderStamps_ = std::move(stamps);
            });
    });
}

std::optional<std::string> XdgWorkspace::frontmostApplication() const {
    const auto window = activeWindowIdentity();
    return window ? applicationFor(*window) : std::nullopt;
}

void XdgWorkspace::prepareFrontmostApplication() {
    prepareActiveWindowIdentity();
}

std::vector<ApplicationEntry> XdgWorkspace::applications() const {
    const std::lock_guard guard(caches_);
    std::vector<ApplicationEntry> listed;
    for (const auto& application : installedApplications())
        if (!application.noDisplay)
            listed.push_back({application.id, application.name.empty() ? application.id : application.name,
                              application.path});
    return listed;
}

std::vector<std::string> XdgWorkspace::applicationFolders() const {
    std::vector<std::string> folders;
    for (const auto& folder : platform::applicationFolders())
        folders.push_back(folder.string());
    return folders;
}

PasteKey XdgWorkspace::frontmostPasteKey() const {
    const auto window = activeWindowIdentity();
    return window ? pasteKeyFor(*window) : PasteKey::controlV;
}

PasteKey XdgWorkspace::pasteKeyFor(const ActiveWindowIdentity& window) const {
    // Terminals that bind no key to the clipboard: they paste the primary
    // selection with Shift+Insert.
    static const std::vector<std::string> primaryOnly{"xterm", "uxterm",    "debian-xterm", "debian-uxterm",
                                                      "rxvt",  "urxvt",     "rxvt-unicode", "aterm",
                                                      "eterm", "koi8rxterm"};
    auto inPrimaryOnly = [](const std::string& name) {
        return std::ranges::find(primaryOnly, asciiLowercased(name)) != primaryOnly.end();
    };
    if (const auto id = applicationFor(window)) {
        const auto path = entryPath(*id);
        const auto entry = path ? DesktopEntry::read(*path) : std::nullopt;
        if (entry && !entry->categories.empty()) {
            if ((";" + entry->categories).find(";TerminalEmulator;") == std::string::npos)
                return PasteKey::controlV;
            return inPrimaryOnly(*id) || inPrimaryOnly(window.wmClass) ||
                           inPrimaryOnly(window.wmClassInstance)
                       ? PasteKey::shiftInsert
                       : PasteKey::controlShiftV;
        }
    }
    static const std::vector<std::string> terminalClasses{"gnome-terminal",
                                                          "gnome-terminal-server",
                                                          "konsole",
                                                          "xfce4-terminal",
                                                          "mate-terminal",
                                                          "tilix",
                                                          "terminator",
                                                          "sakura",
                                                          "lxterminal",
                                                          "kitty",
                                                          "alacritty",
                                                          "st-256color",
                                                          "kgx",
                                                          "ptyxis"};
    for (const auto& name : {window.wmClass, window.wmClassInstance}) {
        if (inPrimaryOnly(name)) return PasteKey::shiftInsert;
        if (std::ranges::find(terminalClasses, asciiLowercased(name)) != terminalClasses.end())
            return PasteKey::controlShiftV;
    }
    return PasteKey::controlV;
}

std::optional<std::string> XdgWorkspace::applicationFor(const ActiveWindowIdentity& window) const {
    const std::lock_guard guard(caches_);
    for (const auto& id : {window.applicationId, withoutEntrySuffix(window.desktopFile)})
        if (!id.empty() && applicationPath(id)) return id;
    if (window.wmClass.empty() && window.wmClassInstance.empty()) return std::nullopt;

    const auto& applications = installedApplications();
    for (const auto& application : applications)
        if (!application.startupWMClass.empty() && (application.startupWMClass == window.wmClass ||
                                                    application.startupWMClass == window.wmClassInstance))
            return application.id;
    for (const auto& name : {window.wmClass, window.wmClassInstance}) {
        if (name.empty()) continue;
        for (const auto& application : applications) {
            const auto id = asciiLowercased(application.id);
            if (id == asciiLowercased(name) || id.ends_with("." + asciiLowercased(name)))
                return application.id;
        }
    }
    return std::nullopt;
}

} // namespace rondelix::platform::linux_desktop
