#include "icons/IconStore.h"

#include "files/FileAccess.h"
#include "files/FolderEntries.h"
#include "files/ImportSafety.h"
#include "files/UserHome.h"
#include "platform/Log.h"
#include "platform/XdgFolders.h"
#include "util/Ascii.h"
#include "util/Uuid.h"

#include <algorithm>

namespace rondelix::IconStore {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view pngExtension = ".png";
constexpr std::size_t uuidLength = 36;

// Makes the folder ready for a new file. A folder that is a symbolic link
// could send files anywhere.
Result<> prepareFolder(const fs::path& folder) {
    std::error_code ec;
    if (fs::is_symlink(folder, ec)) return Failure{folder.string() + ": the icons folder is a symbolic link"};
    if (const auto made = makePrivateFolders(folder)) return Failure{folder.string() + ": " + made.message()};
    if (fs::is_symlink(folder, ec) || !fs::is_directory(folder, ec))
        return Failure{folder.string() + ": the icons folder is not a folder"};
    return {};
}

// Writes a new icon file, making its folder ready first.
Result<> writeIcon(const fs::path& folder, const std::string& name, std::string_view bytes) {
    if (auto prepared = prepareFolder(folder); !prepared.ok()) return prepared;
    return writeFileAtomically(folder / name, bytes);
}

// True when anything, a dangling link included, has the name. When that
// cannot be told the write is tried and reports why it failed.
bool isTaken(const fs::path& file) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(file, ec));
}

bool hasPngSignature(std::string_view bytes) {
    return bytes.starts_with("\x89PNG\r\n\x1A\n");
}

void logSkipped(platform::Log& log, const std::string& name) {
    log.write("bundled icon restore skipped " + name + ": it isn't a PNG icon.");
}

void logTooCostly(platform::Log& log, const std::string& name) {
    log.write("bundled icon restore skipped " + name + ": it takes longer to draw than a restore allows.");
}

} // namespace

fs::path directory() {
    const fs::path home = userHomeFolder();
    if (home.empty()) return {};
    return directoryIn(platform::programConfigFolder(home));
}

fs::path directoryIn(const fs::path& configFolder) {
    return configFolder / "icons";
}

bool isUsableFilename(std::string_view filename) {
    if (filename.empty() || filename == "." || filename == "..") return false;
    return fs::path(filename).filename() == fs::path(filename) &&
           filename.find('/') == std::string_view::npos;
}

bool isManagedFilename(std::string_view filename) {
    return filename.size() == uuidLength + pngExtension.size() && filename.ends_with(pngExtension) &&
           Uuid::parse(filename.substr(0, uuidLength)).has_value();
}

std::optional<std::string> load(const std::string& filename) {
    return load(directory(), filename);
}

std::optional<std::string> load(const fs::path& folder, const std::string& filename) {
    if (!isUsableFilename(filename) || folder.empty()) return std::nullopt;
    const auto read = ImportSafety::readData(folder / filename, maxFileBytes);
    if (!read.ok()) return std::nullopt;
    return read.bytes;
}

Result<> replaceStored(const fs::path& folder, const std::string& filename, std::string_view drawnFrom,
                       std::string_view drawn) {
    if (!isUsableFilename(filename)) return Failure{filename + ": not a stored icon's name"};
    if (load(folder, filename) != drawnFrom) return {};
    return writeIcon(folder, filename, drawn);
}

// Importing -------------------------------------------------------------------

std::optional<std::string> importImage(const fs::path& folder, const fs::path& picture,
                                       const platform::Images& images, platform::Log& log) {
    const auto read = ImportSafety::readStoredData(picture, maxPictureFileBytes);
    if (!read.ok()) return std::nullopt;
    const auto declared = images.declaredSize(read.bytes);
    if (!declared || declared->width * declared->height > maxDecodedPixels) return std::nullopt;
    const auto target = platform::fittedSize(*declared, maxEdge);
    if (!target) return std::nullopt;
    const auto png =
        images.drawnAsPNG(read.bytes, static_cast<int>(target->width), static_cast<int>(target->height), {});
    if (!png) return std::nullopt;

    const std::string name = Uuid::generate().text() + std::string(pngExtension);
    if (const auto written = writeIcon(folder, name, *png); !written.ok()) {
        log.write("icon import failed: " + written.error());
        return std::nullopt;
    }
    return name;
}

// Clean-up --------------------------------------------------------------------

std::set<std::string> referencedFilenames(const Config& config) {
    std::set<std::string> names;
    for (const auto& wheel : config.wheels)
        for (const auto& slice : wheel.slices)
            if (const auto* custom = slice.icon.as<Icon::CustomImage>()) names.insert(custom->filename);
    return names;
}

std::vector<std::string> orphans(const std::vector<FolderEntry>& entries,
                                 const std::set<std::string>& keeping, std::int64_t now) {
    std::set<std::string> keep;
    for (const auto& name : keeping)
        keep.insert(asciiUppercased(name));
    const std::int64_t cutoff = now - orphanAgeSeconds;

    std::vector<std::string> chosen;
    for (const auto& entry : entries) {
        if (!isManagedFilename(entry.name) || keep.count(asciiUppercased(entry.name))) continue;
        if (!entry.created || *entry.created > cutoff) continue;
        chosen.push_back(entry.name);
    }
    return chosen;
}

void removeOrphans(const fs::path& folder, const std::set<std::string>& keeping, std::int64_t now) {
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec) return;
    std::vector<FolderEntry> entries;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        entries.push_back({it->path().filename().string(), creationTime(it->path())});
    }
    // A folder under a managed name is not ours to remove.
    for (const auto& name : orphans(entries, keeping, now))
        removeUnlessFolder(folder / name);
}

// Restoring -------------------------------------------------------------------

void restoreExported(const fs::path& folder, const std::map<std::string, std::string>& icons,
                     const platform::Images& images, platform::Log& log, const KeepGoing& keepGoing) {
    std::size_t written = 0;
    std::uintmax_t total = 0;
    std::size_t begun = 0;
    const auto drawing = std::make_shared<FairTurns::Account>(FairTurns::Account{restoreDrawingSeconds});
    const auto stopped = [&](std::size_t dropped) {
        if (!keepGoing || keepGoing()) return false;
        log.write("bundled icon restore was stopped: " + std::to_string(dropped) +
                  " of its pictures dropped.");
        return true;
    };
    for (const auto& [name, text] : icons) {
        if (stopped(icons.size() - begun)) return;
        ++begun;
        if (written == maxRestoredFiles) {
            log.write("bundled icon restore stopped at the safety cap.");
            return;
        }
        if (!isManagedFilename(name) || text.size() > maxRestoredTextLength) continue;
        const auto bytes = Base64::decode(text);
        if (!bytes || bytes->empty() || bytes->size() > maxFileBytes) continue;
        if (!hasPngSignature(*bytes)) {
            logSkipped(log, name);
            continue;
        }
        if (total + bytes->size() > maxRestoredTotalBytes) {
            log.write("bundled icon restore stopped at the aggregate cap.");
            return;
        }
        if (isTaken(folder / name)) continue;
        // Drawn anew, as an imported picture is: the same picture, with
        // nothing kept of the carried file but its pixels.
        const auto drawn = images.fittedAsPNG(*bytes, maxEdge, maxRestoredSide, {}, drawing);
        // A picture drawn by the time of a stop is dropped with those not
        // yet begun: nothing is written once the restore was stopped.
        if (stopped(icons.size() - begun + 1)) return;
        if (!drawn.png) {
            drawn.tooCostly ? logTooCostly(log, name) : logSkipped(log, name);
            continue;
        }
        if (const auto written = writeIcon(folder, name, *drawn.png); !written.ok()) {
            log.write("bundled icon restore failed for " + name + ": " + written.error());
            continue;
        }
        ++written;
        total += bytes->size();
    }
}

} // namespace rondelix::IconStore
