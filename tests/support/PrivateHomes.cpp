// Built into every test executable: it runs in a home of its own, and a test
// that writes into the program's folders of the real home fails.

#include "support/ScopedHome.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <stdexcept>
#include <unistd.h>

namespace rondelix::testing {
namespace {

namespace fs = std::filesystem;

// The folders of the real home where the program or a test could leave
// something of its own: every entry named after the program, at any depth.
class RealHomeWatch : public ::testing::EmptyTestEventListener {
  public:
    RealHomeWatch() {
        const auto variable = [](const char* name) -> std::optional<fs::path> {
            const char* value = std::getenv(name);
            if (value && *value == '/') return fs::path(value);
            return std::nullopt;
        };
        const fs::path home = variable("HOME").value_or(fs::path("/nonexistent"));
        bases_ = {variable("XDG_CONFIG_HOME").value_or(home / ".config"),
                  variable("XDG_DATA_HOME").value_or(home / ".local/share"),
                  variable("XDG_CACHE_HOME").value_or(home / ".cache"),
                  variable("XDG_STATE_HOME").value_or(home / ".local/state"),
                  home / ".config",
                  home / ".config/autostart",
                  home / ".local/share/applications"};
    }

    void OnTestStart(const ::testing::TestInfo&) override { before_ = snapshot(); }
    void OnTestEnd(const ::testing::TestInfo&) override {
        // Told before the result is printed, so it counts against this test.
        for (const auto& [path, stamp] : snapshot())
            if (!before_.contains(path) || before_.at(path) != stamp)
                ADD_FAILURE() << "the test wrote outside its own home: " << path;
        for (const auto& [path, stamp] : before_)
            if (!fs::exists(fs::symlink_status(path)))
                ADD_FAILURE() << "the test removed from the real home: " << path;
    }

  private:
    using Snapshot = std::map<std::string, fs::file_time_type>;

    Snapshot snapshot() const {
        Snapshot entries;
        std::error_code error;
        for (const fs::path& base : bases_)
            for (const auto& entry : fs::directory_iterator(base, error)) {
                if (entry.path().filename().string().find("rondelix") == std::string::npos) continue;
                add(entries, entry.path());
                if (entry.is_directory(error))
                    for (const auto& inner : fs::recursive_directory_iterator(entry.path(), error))
                        add(entries, inner.path());
            }
        return entries;
    }
    static void add(Snapshot& entries, const fs::path& path) {
        std::error_code error;
        entries[path.string()] = fs::last_write_time(path, error);
    }

    std::vector<fs::path> bases_;
    Snapshot before_;
};

// Removes the executable's home when the process ends, however it ran: a
// listing of the tests (which CTest asks for at every build) runs none, so a
// test environment would never be torn down and the folder would stay.
class RemovedAtExit {
  public:
    explicit RemovedAtExit(fs::path path) : path_(std::move(path)) {}
    ~RemovedAtExit() {
        std::error_code error;
        fs::remove_all(path_, error);
    }
    RemovedAtExit(const RemovedAtExit&) = delete;
    RemovedAtExit& operator=(const RemovedAtExit&) = delete;

  private:
    fs::path path_;
};

const bool installed = [] {
    auto* watch = new RealHomeWatch; // read before the home is replaced
    std::string pattern = (fs::temp_directory_path() / "rondelix-test-home-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("no private home for the tests");
    static RemovedAtExit removal{pattern}; // made first, so gone after the home is left
    static ScopedHome home{pattern};
    ::testing::UnitTest::GetInstance()->listeners().Append(watch);
    return true;
}();

} // namespace
} // namespace rondelix::testing
