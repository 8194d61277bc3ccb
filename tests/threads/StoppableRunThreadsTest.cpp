#include "icons/Base64.h"
#include "icons/IconStore.h"
#include "platform/Log.h"
#include "platform/linux/process/StoppableRun.h"
#include "support/TempHome.h"
#include "threads/Gate.h"
#include "threads/HeldImages.h"

#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <thread>

namespace rondelix {
namespace {

using platform::linux_desktop::StoppableRun;
using threads::HeldImages;

struct LinesLog final : platform::Log {
    void write(std::string_view line) override {
        std::lock_guard guard(lock);
        lines.emplace_back(line);
    }
    std::mutex lock;
    std::vector<std::string> lines;
};

// A Cancel lands while the first of three pictures is being drawn, and the
// drawing still comes back after it: the restore writes nothing and drops
// all three; the end is told on the work's own thread, and the run is over
// once it is gone.
TEST(StoppableRunThreads, ACancelDuringADrawingDropsThatPictureEvenWhenItComesBackAfterwards) {
    testing::TempHome home;
    const auto folder = home.path / "icons";
    HeldImages images;
    LinesLog log;
    std::map<std::string, std::string> icons;
    for (const char* name :
         {"0f8e2c3a-1b2c-4d5e-8f90-a1b2c3d4e5f0.png", "0f8e2c3a-1b2c-4d5e-8f90-a1b2c3d4e5f1.png",
          "0f8e2c3a-1b2c-4d5e-8f90-a1b2c3d4e5f2.png"})
        icons[name] = Base64::encode(std::string("\x89PNG\r\n\x1a\n", 8) + "pixels");
    std::thread::id endedOn;
    threads::Gate ended;
    {
        StoppableRun run(
            [&](const std::function<bool()>& keepGoing) {
                IconStore::restoreExported(folder, icons, images, log, keepGoing);
            },
            [&] { images.drawing.open(); },
            [&] {
                endedOn = std::this_thread::get_id();
                ended.open();
            });
        images.asked.wait();
        run.stop();
        ASSERT_TRUE(ended.waitFor(std::chrono::seconds(30)));
    }
    EXPECT_NE(endedOn, std::this_thread::get_id());
    EXPECT_FALSE(std::filesystem::exists(folder) && !std::filesystem::is_empty(folder));
    EXPECT_EQ(log.lines,
              std::vector<std::string>{"bundled icon restore was stopped: 3 of its pictures dropped."});
}

} // namespace
} // namespace rondelix
