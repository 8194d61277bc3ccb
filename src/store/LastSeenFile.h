#pragma once

#include "files/FileAccess.h"

#include <filesystem>
#include <optional>
#include <utility>

namespace rondelix {

// The configuration file as the store last read or wrote it. While no
// watcher can run, nothing tells the store that another program changed the
// file, so before a local change is written the file on disk is compared
// with this one: one that differs is read first, and a change made outside
// is adopted instead of written over. Which file it is, its size and its
// time of writing tell them apart without reading; only an edit in place
// that keeps the size, within one tick of the file system's clock, would
// pass unseen (editors write a new file and rename it over the old one).
class LastSeenFile {
  public:
    explicit LastSeenFile(std::filesystem::path file) : file_(std::move(file)) {}

    // Right before the file is read: a change made while it is read shows later.
    void noteBeforeReading() { seen_ = fileIdentity(file_); }
    // As a save left it.
    void noteWritten(std::optional<FileIdentity> written) { seen_ = std::move(written); }

    const std::optional<FileIdentity>& seen() const { return seen_; }
    // The file on disk, or its absence, differs from the one last read or written.
    bool changed() const { return fileIdentity(file_) != seen_; }

  private:
    std::filesystem::path file_;
    std::optional<FileIdentity> seen_;
};

} // namespace rondelix
