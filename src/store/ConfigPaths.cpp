#include "store/ConfigPaths.h"

namespace rondelix {

namespace fs = std::filesystem;

namespace {

// Whether anything, a dangling link included, has the name.
bool taken(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// The automations folder. Before it took the name the program's windows
// give it, it was called "shortcuts": a folder of that name moves over, or
// hands over each automation the new one lacks, and stays in use while it
// cannot be moved, so that no automation is left behind.
fs::path automationsFolderIn(const fs::path& folder) {
    const fs::path current = folder / "automations";
    const fs::path former = folder / "shortcuts";
    if (!taken(former)) return current;
    std::error_code error;
    if (!taken(current)) {
        fs::rename(former, current, error);
        return error ? former : current;
    }
    fs::directory_iterator entries(former, error);
    for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
        const fs::path target = current / entries->path().filename();
        std::error_code ignored;
        if (!taken(target)) fs::rename(entries->path(), target, ignored);
    }
    // Gone once empty; what still has a namesake in the new folder stays.
    fs::remove(former, error);
    return current;
}

} // namespace

ConfigPaths ConfigPaths::in(const fs::path& folder) {
    ConfigPaths paths;
    paths.folder = folder;
    paths.config = paths.folder / "config.json";
    paths.backup = paths.folder / "config.json.bak";
    paths.defaults = paths.folder / "defaults.json";
    paths.automations = automationsFolderIn(paths.folder);
    return paths;
}

} // namespace rondelix
