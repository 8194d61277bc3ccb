#pragma once

#include "files/FileAccess.h"
#include "model/Config.h"
#include "store/ConfigPaths.h"
#include "util/LifetimeGuard.h"
#include "util/Result.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace rondelix {

namespace platform {
class Background;
class MainQueue;
} // namespace platform

// Writes the configuration file with the rotating backup. Encoding and
// writing a large configuration takes far longer than a keystroke may, so
// with a background the writes run there, one at a time, and each outcome
// comes back on the main queue; without one each save is written at once.
// Only the newest state matters: a save still waiting when a newer one is
// asked for is dropped, so at most one write is under way and one waits, a
// quit writes the newest state once, and a crash loses no more than those two.
class ConfigSaver {
  public:
    // The wheels of a save, shared with the saves before it where unchanged.
    using SharedWheels = std::vector<std::shared_ptr<const Wheel>>;
    // Where a write stands when a test's seam runs, on the writing thread.
    enum class Step {
        written, // the new file is on the disk; config.json is not yet looked at
        rotated, // the backup is rotated; the new file is not yet renamed over config.json
        placed,  // the new file bears the name
    };
    using Seam = std::function<void(Step)>;
    // A configuration as a save takes it: its wheels apart from the rest.
    struct Value {
        Config settings;
        SharedWheels wheels;
    };

    // What a save did, told on the main thread.
    struct Outcome {
        std::uint64_t number = 0; // of the newest save written: saves are numbered from 1 in the order asked
        Result<> written;
        std::optional<FileIdentity> file; // the file as the save left it
        std::vector<std::string> logLines;
        // The size of a save refused because a load would refuse the file it makes.
        std::optional<std::uint64_t> refusedSize;
        // Another program's file, decoded, found where the file last written
        // or read was expected: it is kept in the backup, and the store takes
        // it in on top of the value it holds.
        std::optional<Config> outsideFile;
        // What a save written whole wrote.
        Value saved;
    };
    using Done = std::function<void(Outcome)>;

    // A save of more than `largestFile` bytes is refused, writing nothing.
    // `whileWriting` runs at each step of each write: where a test holds a
    // write under way or changes the folder behind its back.
    ConfigSaver(ConfigPaths paths, platform::MainQueue& queue, platform::Background* background, Done done,
                std::size_t largestFile = maxConfigFileBytes, Seam whileWriting = {});
    // Writes whatever is still waiting.
    ~ConfigSaver();
    ConfigSaver(const ConfigSaver&) = delete;
    ConfigSaver& operator=(const ConfigSaver&) = delete;

    // Main thread: saves `settings` with `wheels` in place of its own, in
    // the place of a save still waiting; the backup rotates when either asked.
    // `lastRead` is the file the caller last read: like the file last
    // written, it is no other program's.
    void save(Config settings, SharedWheels wheels, bool rotatingBackup,
              std::optional<FileIdentity> lastRead = std::nullopt);
    // Main thread: waits for the write under way, writes the save still
    // waiting, and tells their outcomes before it returns.
    void flush();
    // Main thread: saves asked for whose outcome has not been told yet.
    bool pending() const { return told_ < asked_; }

  private:
    // What the writer of the moment, on whichever thread, shares with the
    // saver; work handed to the background keeps it alive.
    struct Writer;

    void tellFinished();

    std::shared_ptr<Writer> writer_;
    platform::MainQueue& queue_;
    platform::Background* const background_;
    const Done done_;
    // Main thread only.
    std::uint64_t asked_ = 0;
    std::uint64_t told_ = 0;
    LifetimeGuard guard_;
};

} // namespace rondelix
