#include "actions/InstalledAutomations.h"

#include "actions/LinkText.h"
#include "actions/ShippedAutomation.h"
#include "actions/ShortcutsRunner.h"
#include "files/FileAccess.h"
#include "platform/Background.h"
#include "platform/MainQueue.h"
#include "platform/Workspace.h"
#include "util/Ascii.h"

#include <algorithm>

namespace rondelix {

InstalledAutomations::InstalledAutomations(std::filesystem::path folder, Services services,
                                           std::filesystem::path shippedFolder)
    : folder_(std::move(folder)), services_(services), shippedFolder_(std::move(shippedFolder)) {}

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

bool InstalledAutomations::installedAsShipped(std::string_view name) const {
    return asShipped_.count(std::string(name)) > 0;
}

void InstalledAutomations::refresh(std::function<void()> done) {
    services_.background.run([folder = folder_, shipped = shippedFolder_, &queue = services_.queue, this,
                              alive = lifetime_.watch(), done = std::move(done)]() mutable {
        auto names = ShortcutsRunner::list(folder.string());
        std::set<std::string> asShipped;
        for (const ShortcutRequirement& requirement : ShortcutCatalog::requirements())
            if (ShippedAutomation::installedUnchanged(folder, shipped, requirement.shortcutName))
                asShipped.insert(requirement.shortcutName);
        queue.post([this, alive, names = std::move(names), asShipped = std::move(asShipped),
                    done = std::move(done)]() mutable {
            if (!alive) return;
            const bool news = !listed_ || names != names_ || asShipped != asShipped_;
            listed_ = true;
            names_ = std::move(names);
            asShipped_ = std::move(asShipped);
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
