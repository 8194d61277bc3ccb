#pragma once

#include "platform/FileWatcher.h"

#include <optional>

namespace rondelix::platform::sim {

// A watcher whose notices the test fires. Arming succeeds only when the file
// really exists, as with a real watcher, so tests run against a real folder.
class SimFileWatcher final : public FileWatcher {
  public:
    bool arm(const std::filesystem::path& file, Handler onChange) override;
    void disarm() override;

    // The file being watched, or nothing.
    const std::optional<std::filesystem::path>& watched() const { return watched_; }
    int armCount() const { return armCount_; }
    // While set, arming fails whatever the file, as when the system has no
    // watcher to give.
    bool refusing = false;

    // Delivers a notice to the current handler, as the system would after a
    // change; does nothing when disarmed.
    void fire(Change change);

  private:
    std::optional<std::filesystem::path> watched_;
    Handler handler_;
    int armCount_ = 0;
};

} // namespace rondelix::platform::sim
