#pragma once

#include "icons/Base64.h"
#include "model/Config.h"
#include "platform/Images.h"
#include "util/Result.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix::platform {
class Log;
} // namespace rondelix::platform

// The folder of the user's own slice pictures, "icons" in the configuration
// folder, with PNG files named by a UUID. Nothing is kept in memory:
// every operation works on the folder itself. Only importing and restoring
// write, and both refuse a folder that is a symbolic link, so that nothing
// lands outside the folder's own place.
namespace rondelix::IconStore {

// A custom icon file can never hold more than this, the most a restore writes.
inline constexpr std::uintmax_t maxFileBytes = 5u * 1024 * 1024;

// The limits of one restore of carried pictures.
inline constexpr std::size_t maxRestoredFiles = 256;
inline constexpr std::size_t maxRestoredTextLength = Base64::encodedLength(maxFileBytes);
inline constexpr std::uintmax_t maxRestoredTotalBytes = 32u * 1024 * 1024;
// Imports store at most maxEdge, and so do restores; a carried picture
// declaring a longer side than this is no icon an export carried.
inline constexpr double maxRestoredSide = 1024;
// The drawing time of all the pictures of one restore together: a file can
// carry many pictures each costing the drawer its whole deadline.
inline constexpr double restoreDrawingSeconds = 20;

// An imported picture is stored with its longer side at most this long.
inline constexpr int maxEdge = 256;
// A picture declaring more pixels than this is refused before it is decoded:
// its header alone could otherwise make the decoder claim gigabytes.
inline constexpr double maxDecodedPixels = 50'000'000;
// The most of a chosen picture file that is read.
inline constexpr std::size_t maxPictureFileBytes = 100u * 1024 * 1024;

// Files younger than this are never cleaned up.
inline constexpr std::int64_t orphanAgeSeconds = 3600;

// The folder under the user's home folder as `userHomeFolder()`
// finds it, for code that has no HomeFolder at hand; empty when there is none.
std::filesystem::path directory();
std::filesystem::path directoryIn(const std::filesystem::path& configFolder);

// A name is usable when it is not empty, not "." or "..", and is its own last
// path component, so it names nothing outside the folder.
bool isUsableFilename(std::string_view filename);

// "<UUID>.png": a UUID in its 36-character form, either case, then ".png" in
// lower case. The only names imports make and restores accept.
bool isManagedFilename(std::string_view filename);

// The contents of a custom icon file, read on the calling thread; none for an
// unusable name (without touching the disk), a missing file, or anything but
// a regular file of at most `maxFileBytes`. The view decodes the image and
// treats bytes that do not decode as no image.
std::optional<std::string> load(const std::string& filename);
std::optional<std::string> load(const std::filesystem::path& folder, const std::string& filename);

// Writes the picture drawn anew over the stored file, when the file still
// holds what was drawn from; a file that changed meanwhile is left as it is.
Result<> replaceStored(const std::filesystem::path& folder, const std::string& filename,
                       std::string_view drawnFrom, std::string_view drawn);

// Stores a picture the user chose: read, checked, shrunk to at most maxEdge
// on its longer side and written as PNG under a fresh "<UUID>.png" name,
// which is returned. Only a regular file stored on a disk is read (see
// ImportSafety::readStoredData), and only as the formats `images` reads.
// None when it could not be read, decoded or written; a failed write is
// logged. Safe on any thread, and slow on a large picture: the window's
// thread hands it to another.
std::optional<std::string> importImage(const std::filesystem::path& folder,
                                       const std::filesystem::path& picture, const platform::Images& images,
                                       platform::Log& log);

// Every custom image name the slices of the configuration carry, as stored.
std::set<std::string> referencedFilenames(const Config& config);

struct FolderEntry {
    std::string name;
    // Unix seconds; none when the file system cannot tell.
    std::optional<std::int64_t> created;
};

// The managed files that neither `keeping` names (ignoring case) nor are
// younger than an hour at `now` (Unix seconds). Other names are never chosen.
std::vector<std::string> orphans(const std::vector<FolderEntry>& entries,
                                 const std::set<std::string>& keeping, std::int64_t now);

// Deletes the orphans of the folder. Safe on any thread; reports nothing.
void removeOrphans(const std::filesystem::path& folder, const std::set<std::string>& keeping,
                   std::int64_t now);

// Writes the carried pictures of an exported configuration or shared wheel
// (file name to Base64 PNG) into the folder, within the limits above, never
// replacing a file; skips what it cannot accept and logs what it cannot write.
// A picture is kept only when it is a PNG that decodes, no larger than
// maxRestoredSide: anything else under a PNG name (a vector drawing above
// all, which could name files to read) is left out, and said in the log.
// What is written is the picture drawn anew at most maxEdge on its longer
// side, as an import stores it: never the carried bytes, whose chunks could
// cost the window gigabytes to decode. The drawing of them all shares
// restoreDrawingSeconds; once those are spent the rest are left out, and a
// picture given up on for its cost is said to be one. Once `keepGoing`, asked
// before each picture and before each write, says no, nothing more is
// written and the pictures left are logged as dropped.
using KeepGoing = std::function<bool()>;
void restoreExported(const std::filesystem::path& folder, const std::map<std::string, std::string>& icons,
                     const platform::Images& images, platform::Log& log, const KeepGoing& keepGoing = {});

} // namespace rondelix::IconStore
