#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rondelix {

// Why changes are not reaching the configuration file, in the words of the
// line every window that edits shows above its page.
struct SaveRefusal {
    enum class Cause {
        newerVersion,      // a newer build wrote the file; this one must not downgrade it
        tooLargeToLoad,    // the file was too large to read; it stays as it is
        tooLargeToSave,    // the last save would have written a file too large to read back
        noWriterLock,      // nothing keeps another running program from writing it too
        folderNotWritable, // nothing can be written where it lives
    };

    Cause cause = Cause::newerVersion;
    std::string sentence;

    static SaveRefusal newerVersion();
    // `bytes`: the file's size; `onBackup`: the store runs on the backup,
    // else on the factory wheels.
    static SaveRefusal tooLargeToLoad(std::uint64_t bytes, bool onBackup);
    static SaveRefusal tooLargeToSave(std::uint64_t bytes);
    // `why`: the system's words for the failure, with the path.
    static SaveRefusal noWriterLock(const std::string& why);
    static SaveRefusal folderNotWritable(const std::string& why);

    // What the log's line on a save that was skipped says of it.
    std::string_view skippedBecause() const;

    friend bool operator==(const SaveRefusal&, const SaveRefusal&) = default;
};

} // namespace rondelix
