#include "store/SaveRefusal.h"

#include "files/FileAccess.h"

#include <cstdio>

namespace rondelix {

namespace {

// In the decimal megabytes file managers show, to a tenth, or to as many
// more places as the file's size needs to read apart from the most a file
// may have: a file a few bytes over is not shown as large as the most.
std::string sizes(std::uint64_t bytes) {
    const auto megabytes = [](std::uint64_t size, int places) {
        char text[32];
        std::snprintf(text, sizeof text, "%.*f MB", places, static_cast<double>(size) / 1e6);
        return std::string(text);
    };
    int places = 1;
    // Six places show single bytes.
    while (places < 6 && megabytes(bytes, places) == megabytes(maxConfigFileBytes, places))
        ++places;
    return "(" + megabytes(bytes, places) + "; the most is " + megabytes(maxConfigFileBytes, places) + ")";
}

} // namespace

SaveRefusal SaveRefusal::newerVersion() {
    return {Cause::newerVersion,
            "This configuration was written by a newer Rondelix; changes can't be saved."};
}

SaveRefusal SaveRefusal::tooLargeToLoad(std::uint64_t bytes, bool onBackup) {
    return {Cause::tooLargeToLoad, "config.json is too large to load " + sizes(bytes) +
                                       ", so Rondelix runs on " +
                                       (onBackup ? "its backup" : "the factory wheels") +
                                       " and leaves the file as it is; changes can't be saved."};
}

SaveRefusal SaveRefusal::tooLargeToSave(std::uint64_t bytes) {
    return {Cause::tooLargeToSave, "Your wheels have grown too large to save " + sizes(bytes) +
                                       "; changes are no longer being saved."};
}

SaveRefusal SaveRefusal::noWriterLock(const std::string& why) {
    return {Cause::noWriterLock, "Rondelix can't lock its configuration (" + why +
                                     "), so another Rondelix could write it at the same time; changes "
                                     "can't be saved."};
}

SaveRefusal SaveRefusal::folderNotWritable(const std::string& why) {
    return {Cause::folderNotWritable,
            "Rondelix can't write to its configuration folder (" + why + "); changes can't be saved."};
}

std::string_view SaveRefusal::skippedBecause() const {
    switch (cause) {
    case Cause::newerVersion:
        return "on-disk config is newer than this build";
    case Cause::tooLargeToLoad:
        return "config.json is too large to load";
    case Cause::noWriterLock:
        return "the configuration lock is unavailable";
    case Cause::folderNotWritable:
        return "the configuration folder is not writable";
    case Cause::tooLargeToSave: // refuses one save, never the run
        break;
    }
    return {};
}

} // namespace rondelix
