#include "actions/InstalledAutomations.h"

#include "actions/LinkText.h"
#include "actions/ShortcutsRunner.h"
#include "files/FileAccess.h"
#include "platform/Background.h"
#include "platform/MainQueue.h"
#include "platform/Workspace.h"
#include "util/Ascii.h"

#include <algorithm>

namespace rondelix {

InstalledAutomations::InstalledAutomations(std::filesystem::path folder, Services services)
    : folder_(std::move(folder)), services_(services) {}

InstalledAutomations::~InstalledAutomations() {
    lifetime_.end();
}

bool InstalledAutomations::contains(std::string_view name) const {
    return std::any_of(names_.begin(), names_.end(),
                       [name](const std::string& installed) { return equalIgnoringCase(installed, name); });
}

bool InstalledAutomations::contains(const ShortcutRequirement& requirement) const {
    return contains(requirement.shortcutName) ||
           (requirement.formerShortcutName && contains(*requirement.formerShortcutName));
}

void InstalledAutomations::refresh(std::function<void()> done) {
    services_.background.run([folder = folder_.string(), &queue = services_.queue, this,
                              alive = lifetime_.watch(), done = std::move(done)]() mutable {
        auto names = ShortcutsRunner::list(folder);
        queue.post([this, alive, names = std::move(names), done = std::move(done)]() mutable {
            if (!alive) return;
            const bool news = !listed_ || names != names_;
            listed_ = true;
            names_ = std::move(names);
            if (news) changed.emit();
            if (done) done();
        });
    });
}

void InstalledAutomations::openFolder() {
    (void)makePrivateFolders(folder_);
    services_.workspace.openLink(LinkText::fileLink(folder_.string()), [](bool) {});
}

} // namespace rondelix
