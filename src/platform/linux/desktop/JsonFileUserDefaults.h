#pragma once

#include "platform/UserDefaults.h"

#include <filesystem>

namespace rondelix::platform {
class Log;
}

namespace rondelix::platform::linux_desktop {

// User defaults in one JSON object file beside the configuration. Every change
// (or batch of changes) rewrites the file atomically; when the disk refuses,
// the values stay in memory for the rest of the run and the log says so once.
// A file that cannot be read, is larger than 1 MiB or too deep is treated as
// damaged.
class JsonFileUserDefaults final : public UserDefaults {
  public:
    // The program keeps a few short values here; a file far larger is not
    // its own, and each change would rewrite all of it.
    static constexpr std::size_t maxFileBytes = 1u << 20;

    JsonFileUserDefaults(std::filesystem::path file, Log& log);

    std::optional<nlohmann::json> stored(std::string_view key) const override;
    void store(std::string_view key, nlohmann::json value) override;
    void erase(std::string_view key) override;

    const std::filesystem::path& file() const { return file_; }

  protected:
    void beginChanges() override { ++openBatches_; }
    void endChanges() override;

  private:
    void load();
    void changed();
    void save();

    std::filesystem::path file_;
    Log& log_;
    nlohmann::json values_ = nlohmann::json::object();
    int openBatches_ = 0;
    bool dirty_ = false;
    bool reportedSaveFailure_ = false;
    // Set when the file could be neither read nor moved aside: nothing may
    // replace what the user may still recover.
    bool leaveFileAlone_ = false;
};

} // namespace rondelix::platform::linux_desktop
