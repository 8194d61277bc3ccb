#include "guides/ShortcutSetup.h"

#include "files/FileAccess.h"
#include "model/AutomationWords.h"
#include "platform/XdgFolders.h"
#include "util/CurlyQuoted.h"

#include <algorithm>
#include <system_error>

namespace rondelix {

namespace fs = std::filesystem;

namespace {

bool isInside(const fs::path& path, const fs::path& folder) {
    const auto [end, at] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return end == folder.end();
}

std::string folderWords(const std::string& shown) {
    return "the " + std::string(AutomationWords::plural) + " folder " + shown;
}

} // namespace

std::string ShortcutSetup::automationsFolderShown() const {
    return platform::shownWithTilde(host_.automationsFolder, host_.home);
}

ShortcutSetup::ShortcutSetup(ShortcutSetupHost host, std::optional<std::string> highlight)
    : host_(std::move(host)), highlight_(std::move(highlight)) {}

ShortcutSetup::~ShortcutSetup() {
    recheckEnd_.cancel();
}

void ShortcutSetup::shown() {
    host_.refresh();
    if (!highlight_) return;
    const auto requirement = ShortcutCatalog::requirement(*highlight_);
    if (requirement) expanded_.insert(requirement->id);
    changed.emit();
}

std::vector<ShortcutSetup::Card> ShortcutSetup::cards() const {
    const auto installed = host_.installed();
    std::vector<Card> cards;
    for (const auto& requirement : ShortcutCatalog::requirements()) {
        Card card{requirement};
        if (std::any_of(installed.begin(), installed.end(),
                        [&](const std::string& name) { return requirement.answersTo(name); }))
            card.status = Status::installed;
        card.highlighted = highlight_ && requirement.answersTo(*highlight_);
        card.stepsShown = card.status == Status::notSetUp && expanded_.count(requirement.id);
        card.installable = card.status == Status::notSetUp && shippedFile(requirement).has_value();
        cards.push_back(std::move(card));
    }
    return cards;
}

void ShortcutSetup::toggleSteps(const std::string& id) {
    if (!expanded_.erase(id)) expanded_.insert(id);
    changed.emit();
}

void ShortcutSetup::recheck() {
    if (rechecking_) return;
    rechecking_ = true;
    host_.refresh();
    changed.emit();
    // However long the listing takes, the button reads "Checking…" this long.
    recheckEnd_ = host_.queue.after(recheckSeconds, [this] {
        rechecking_ = false;
        changed.emit();
    });
}

std::optional<fs::path> ShortcutSetup::shippedFile(const ShortcutRequirement& requirement) const {
    if (host_.shippedFolder.empty()) return std::nullopt;
    std::error_code error;
    const fs::path file = host_.shippedFolder / requirement.shortcutName;
    if (!fs::is_regular_file(file, error)) return std::nullopt;
    return file;
}

// The folder must be the user's own: a real folder, or a link that stays in
// the home folder. It is made when missing.
Result<> ShortcutSetup::prepareFolder() const {
    std::error_code error;
    const fs::path& folder = host_.automationsFolder;
    const auto status = fs::symlink_status(folder, error);
    if (fs::is_symlink(status)) {
        const fs::path target = fs::weakly_canonical(folder, error);
        const fs::path home = fs::weakly_canonical(host_.home, error);
        if (error || !isInside(target, home))
            return Failure{"Rondelix didn't install anything: " + folderWords(automationsFolderShown()) +
                           " leads outside your home folder."};
    }
    if (fs::exists(folder, error)) {
        if (!fs::is_directory(folder, error))
            return Failure{"Rondelix didn't install anything: " + folderWords(automationsFolderShown()) +
                           " is a file, not a folder."};
        return {};
    }
    if (const auto made = makePrivateFolders(folder))
        return Failure{"Rondelix couldn't make " + folderWords(automationsFolderShown()) + ": " +
                       made.message() + "."};
    return {};
}

ShortcutSetup::InstallResult ShortcutSetup::install(const std::string& id) {
    using Outcome = InstallResult::Outcome;
    const auto& rows = ShortcutCatalog::requirements();
    const auto row = std::find_if(rows.begin(), rows.end(), [&](const auto& r) { return r.id == id; });
    const auto source = row == rows.end() ? std::nullopt : shippedFile(*row);
    if (!source) return {Outcome::failed, "Rondelix has no ready-made automation for this action."};
    const Result<std::string> shipped = readWholeFile(*source);
    if (!shipped.ok())
        return {Outcome::failed, "Rondelix couldn't read its own automation: " + shipped.error()};
    if (const auto prepared = prepareFolder(); !prepared.ok()) return {Outcome::failed, prepared.error()};

    const fs::path target = host_.automationsFolder / row->shortcutName;
    if (!isMissing(target)) {
        const Result<std::string> existing = readWholeFile(target);
        const bool same = existing.ok() && existing.value() == shipped.value();
        if (!same && !host_.confirmReplace(row->shortcutName)) return {Outcome::kept, {}};
    }
    // A ready-made automation is a program like any the user installs.
    if (const auto written =
            writeFileAtomically(target, shipped.value(), TemporaryName::fresh, NewFileMode::userUmask);
        !written.ok())
        return {Outcome::failed,
                "Rondelix couldn't install " + curlyQuoted(row->shortcutName) + ": " + written.error()};
    std::error_code error;
    fs::permissions(target, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add, error);
    if (error)
        return {Outcome::failed, "Rondelix couldn't make " + curlyQuoted(row->shortcutName) +
                                     " executable: " + error.message() + "."};
    host_.refresh();
    return {Outcome::installed, {}};
}

} // namespace rondelix
