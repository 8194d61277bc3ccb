#pragma once

#include <string>
#include <vector>

namespace rondelix {

// One release of the product as the release history lists it.
struct ChangelogEntry {
    std::string version;
    std::string date;
    std::string summary;

    // Two releases may share a version number; with the date they differ.
    std::string id() const { return version + date + summary; }
};

// The release history, newest first.
const std::vector<ChangelogEntry>& changelogEntries();

} // namespace rondelix
