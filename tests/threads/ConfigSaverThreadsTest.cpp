#include "files/FreshTemporary.h"
#include "model/ConfigCoding.h"
#include "platform/linux/BlockingMainQueue.h"
#include "platform/linux/process/DetachingBackground.h"
#include "store/ConfigSaver.h"
#include "support/TempHome.h"
#include "util/Uuid.h"

#include <gtest/gtest.h>
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

// True once a write of the configuration has begun: its temporary file is
// there, or it is already done.
bool writeBegun(const ConfigPaths& paths, const std::optional<FileIdentity>& before) {
    for (const auto& entry : fs::directory_iterator(paths.folder))
        if (freshTemporaryTarget(entry.path().filename().string()) == "config.json") return true;
    return fileIdentity(paths.config) != before;
}

// The saver on the program's own kind of pool: a save is written on a thread
// of its own while the caller asks for more. A flush, and the quit, wait for
// the write under way and then write the newest state once, dropping the
// state in between; every write is told, once.
TEST(ConfigSaverThreads, AFlushWaitsForTheWriteUnderWayThenWritesOnlyTheNewestState) {
    const testing::TempHome folder;
    const ConfigPaths paths = ConfigPaths::in(folder.path);
    platform::linux_desktop::BlockingMainQueue queue;
    platform::linux_desktop::DetachingBackground background(1, 10);
    std::vector<Result<>> told;
    auto saver =
        std::make_unique<ConfigSaver>(paths, queue, &background, [&told](ConfigSaver::Outcome outcome) {
            told.push_back(outcome.written);
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
        const auto before = fileIdentity(paths.config);
        save(first);
        while (!writeBegun(paths, before))
            std::this_thread::yield();
        save(first + 1);
        save(first + 2);
        // What the writes posted runs meanwhile, as the program's event loop runs it.
        while (queue.runNext(0)) {
        }
        if (round + 1 < rounds) {
            saver->flush();
            EXPECT_FALSE(saver->pending());
        } else {
            saver.reset();
        }
        EXPECT_EQ(wheelSizeIn(paths.config), first + 2);
        // The write under way ended before the newest state replaced it.
        EXPECT_EQ(wheelSizeIn(paths.backup), first);
        ASSERT_EQ(told.size(), 2u * (round + 1));
        EXPECT_TRUE(told.back().ok());
    }
}

} // namespace
} // namespace rondelix
