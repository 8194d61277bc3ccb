#include "model/ConfigCoding.h"
#include "platform/linux/BlockingMainQueue.h"
#include "platform/linux/process/DetachingBackground.h"
#include "store/ConfigSaver.h"
#include "support/TempHome.h"
#include "util/Uuid.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace rondelix {
namespace {

namespace fs = std::filesystem;

ConfigSaver::SharedWheels manyWheels(int count) {
    ConfigSaver::SharedWheels wheels;
    for (int w = 0; w < count; ++w)
        wheels.push_back(std::make_shared<const Wheel>(
            Wheel{"wheel-" + std::to_string(w),
                  "Wheel " + std::to_string(w),
                  8,
                  {Slice{Uuid::generate(), 0, "Notes", Icon{}, MacroAction::Text{"Thanks!"}}},
                  std::nullopt}));
    return wheels;
}

double wheelSizeIn(const fs::path& file) {
    const auto read = readWholeFile(file);
    const auto config = read.ok() ? decodeConfigBytes(read.value()) : std::nullopt;
    return config ? config->behavior.wheelSize : 0.0;
}

// Holds the writes mid-way while the test says so, and tells whether a
// write began while another was held: the saver writes one at a time.
class HeldWrites {
  public:
    // On the writing thread, in the middle of a write.
    void midWrite() {
        std::unique_lock guard(lock_);
        overlapped_ = overlapped_ || held_;
        if (!holding_) return;
        held_ = true;
        changed_.notify_all();
        changed_.wait(guard, [this] { return !holding_; });
        held_ = false;
    }
    void hold() {
        const std::lock_guard guard(lock_);
        holding_ = true;
    }
    void awaitHeld() {
        std::unique_lock guard(lock_);
        changed_.wait(guard, [this] { return held_; });
    }
    void release() {
        {
            const std::lock_guard guard(lock_);
            holding_ = false;
        }
        changed_.notify_all();
    }
    bool overlapped() {
        const std::lock_guard guard(lock_);
        return overlapped_;
    }

  private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool holding_ = false;
    bool held_ = false;
    bool overlapped_ = false;
};

// The saver on the program's own kind of pool: a save is written on a thread
// of its own while the caller asks for more. A flush, and the quit, wait for
// the write under way and then write the newest state once, dropping the
// state in between; every write is told, once. Each round's first write is
// held mid-way, as a large file on a busy machine holds it, until the later
// saves are asked for and the flush has had a while to wait for it.
TEST(ConfigSaverThreads, AFlushWaitsForTheWriteUnderWayThenWritesOnlyTheNewestState) {
    const testing::TempHome folder;
    const ConfigPaths paths = ConfigPaths::in(folder.path);
    HeldWrites writes;
    platform::linux_desktop::BlockingMainQueue queue;
    platform::linux_desktop::DetachingBackground background(1, 10);
    std::vector<Result<>> told;
    auto saver = std::make_unique<ConfigSaver>(
        paths, queue, &background, [&told](ConfigSaver::Outcome outcome) { told.push_back(outcome.written); },
        maxConfigFileBytes,
        [&writes](ConfigSaver::Step step) {
            if (step == ConfigSaver::Step::written) writes.midWrite();
        });
    const ConfigSaver::SharedWheels wheels = manyWheels(2000);
    const auto save = [&](double size) {
        Config settings;
        settings.behavior.wheelSize = size;
        saver->save(settings, wheels, true);
    };
    constexpr int rounds = 10;
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        const double first = 300 + 10 * round;
        writes.hold();
        save(first);
        writes.awaitHeld();
        save(first + 1);
        save(first + 2);
        // What the writes posted runs meanwhile, as the program's event loop runs it.
        while (queue.runNext(0)) {
        }
        std::thread letGo([&writes] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            writes.release();
        });
        if (round + 1 < rounds) {
            saver->flush();
            EXPECT_FALSE(saver->pending());
        } else {
            saver.reset();
        }
        letGo.join();
        EXPECT_FALSE(writes.overlapped());
        EXPECT_EQ(wheelSizeIn(paths.config), first + 2);
        // The write under way ended before the newest state replaced it.
        EXPECT_EQ(wheelSizeIn(paths.backup), first);
        ASSERT_EQ(told.size(), 2u * (round + 1));
        EXPECT_TRUE(told.back().ok());
    }
}

} // namespace
} // namespace rondelix

namespace rondelix {
namespace {

// Another program renames its file over config.json while the writing thread
// is past the new file and not yet at the backup: the outcome the main thread
// hears hands that file over, and the backup keeps it.
TEST(ConfigSaverThreads, AnotherProgramsFileFoundMidWriteReachesTheMainThreadAndTheBackup) {
    const testing::TempHome folder;
    const ConfigPaths paths = ConfigPaths::in(folder.path);
    platform::linux_desktop::BlockingMainQueue queue;
    platform::linux_desktop::DetachingBackground background(1, 10);
    std::vector<ConfigSaver::Outcome> told;
    std::atomic<bool> editing = false;
    ConfigSaver saver(
        paths, queue, &background,
        [&told](ConfigSaver::Outcome outcome) { told.push_back(std::move(outcome)); }, maxConfigFileBytes,
        [&](ConfigSaver::Step step) {
            if (step != ConfigSaver::Step::written || !editing.exchange(false)) return;
            Config outside;
            outside.behavior.wheelSize = 444;
            ASSERT_TRUE(writeFileAtomically(paths.config, writeConfigFile(outside)).ok());
        });
    Config settings;
    settings.behavior.wheelSize = 300;
    saver.save(settings, manyWheels(10), true);
    ASSERT_TRUE(queue.runNext());
    editing = true;
    settings.behavior.wheelSize = 310;
    saver.save(settings, manyWheels(10), true);
    ASSERT_TRUE(queue.runNext());
    ASSERT_EQ(told.size(), 2u);
    EXPECT_FALSE(told[0].outsideFile);
    ASSERT_TRUE(told[1].outsideFile);
    EXPECT_EQ(told[1].outsideFile->behavior.wheelSize, 444.0);
    EXPECT_EQ(wheelSizeIn(paths.backup), 444.0);
    EXPECT_EQ(wheelSizeIn(paths.config), 310.0);
}

} // namespace
} // namespace rondelix
