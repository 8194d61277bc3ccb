#pragma once

#include "platform/MainQueue.h"
#include "platform/Workspace.h"

#include <map>
#include <set>
#include <vector>

namespace rondelix::platform::sim {

// Installed applications are whatever the test puts in `installed` (identifier
// to path), `applicationPaths` (paths that are applications) and `folders`
// (where installed applications' entries live). Every open
// request is recorded and answered on the main queue with the set outcome.
class SimWorkspace final : public Workspace {
  public:
    explicit SimWorkspace(MainQueue& queue) : queue_(queue) {}

    std::optional<std::string> applicationPath(const std::string& identifier) const override {
        const auto found = installed.find(identifier);
        if (found == installed.end()) return std::nullopt;
        return found->second;
    }
    std::optional<std::string> applicationAt(const std::string& path) const override {
        if (applicationPaths.count(path) == 0) return std::nullopt;
        return path;
    }
    void openApplication(const std::string& path, std::function<void(bool)> completion) override {
        openedApplications.push_back(path);
        queue_.post([completion = std::move(completion), ok = launchesSucceed] { completion(ok); });
    }
    void openLink(const std::string& url, std::function<void(bool)> completion) override {
        openedLinks.push_back(url);
        queue_.post([completion = std::move(completion), ok = linksOpen] { completion(ok); });
    }
    void revealFile(const std::string& path, std::function<void(Revealed)> completion) override {
        revealedFiles.push_back(path);
        queue_.post([completion = std::move(completion), how = linksOpen ? reveals : Revealed::nothing] {
            completion(how);
        });
    }
    std::optional<std::string> frontmostApplication() const override { return frontmost; }
    PasteKey frontmostPasteKey() const override { return pasteKey; }
    void prepareFrontmostApplication() override { ++frontmostPreparations; }
    std::optional<std::string> applicationName(const std::string& path) const override {
        const auto found = names.find(path);
        if (found == names.end()) return std::nullopt;
        return found->second;
    }
    std::vector<ApplicationEntry> applications() const override { return listed; }
    std::vector<std::string> applicationFolders() const override { return folders; }

    std::map<std::string, std::string> installed;
    std::map<std::string, std::string> names; // path to the name the desktop shows
    std::set<std::string> applicationPaths;
    bool launchesSucceed = true;
    PasteKey pasteKey = PasteKey::controlV;
    bool linksOpen = true;
    // How a reveal goes while links open.
    Revealed reveals = Revealed::selected;
    std::optional<std::string> frontmost;
    std::vector<ApplicationEntry> listed;
    std::vector<std::string> folders;

    std::vector<std::string> openedApplications;
    std::vector<std::string> openedLinks;
    std::vector<std::string> revealedFiles;
    int frontmostPreparations = 0;

  private:
    MainQueue& queue_;
};

} // namespace rondelix::platform::sim
