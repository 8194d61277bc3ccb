#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace rondelix::testing {

// Points HOME and the XDG folders (config, data, cache, state) into `home`,
// as a desktop session would lay them out there; the environment as it was
// comes back when it goes. Every test executable runs inside one of its own
// (PrivateHomes.cpp); a test that needs a fresh home of its own takes
// another.
class ScopedHome {
  public:
    explicit ScopedHome(const std::filesystem::path& home);
    ~ScopedHome();
    ScopedHome(const ScopedHome&) = delete;
    ScopedHome& operator=(const ScopedHome&) = delete;

    static constexpr const char* variables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                                                "XDG_STATE_HOME"};

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

} // namespace rondelix::testing
