#pragma once

#include <filesystem>
#include <functional>

namespace rondelix::platform {

// Change notices for one file, delivered on the main queue.
class FileWatcher {
  public:
    enum class Change {
        modified, // written, extended or its attributes changed
        replaced, // deleted or renamed away: the name may now hold another file, or none
    };
    using Handler = std::function<void(Change)>;

    virtual ~FileWatcher() = default;

    // Watches the file now at `file`, dropping any earlier watch. Returns false
    // when the file cannot be opened for watching (typically: it is missing);
    // nothing is watched then.
    virtual bool arm(const std::filesystem::path& file, Handler onChange) = 0;

    // Stops watching; no handler runs afterwards.
    virtual void disarm() = 0;
};

} // namespace rondelix::platform
