#include "icons/StoredIconRedraws.h"
#include "platform/linux/BlockingMainQueue.h"
#include "platform/linux/process/DetachingBackground.h"
#include "support/TempHome.h"
#include "threads/HeldImages.h"

#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <thread>

namespace rondelix {
namespace {

using platform::linux_desktop::BlockingMainQueue;
using platform::linux_desktop::DetachingBackground;
using threads::HeldImages;

struct QuietLog final : platform::Log {
    void write(std::string_view) override {}
};

std::string contents(const std::filesystem::path& file) {
    std::ostringstream read;
    read << std::ifstream(file, std::ios::binary).rdbuf();
    return read.str();
}

struct Redrawing {
    testing::TempHome home;
    std::filesystem::path folder = home.path / "icons";
    HeldImages images;
    BlockingMainQueue queue;
    QuietLog log;
    DetachingBackground pool{1};
    std::unique_ptr<StoredIconRedraws> redraws;
    std::thread::id toldOn;

    Redrawing() {
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "A.png", std::ios::binary) << "as it came";
        redraws = std::make_unique<StoredIconRedraws>(folder,
                                                      StoredIconRedraws::Services{images, pool, queue, log});
        redraws->redrawn = [this](const std::string&) { toldOn = std::this_thread::get_id(); };
    }
};

// The drawing runs on the pool and is told on the main thread; a quit while
// it is drawn leaves the drawing to end on its own, which then writes its
// file and tells nobody.
TEST(StoredIconRedrawsThreads, ARedrawIsToldOnTheMainThreadAndOutlivesAQuitTellingNobody) {
    {
        Redrawing told;
        told.redraws->redraw("A.png");
        told.images.drawing.open();
        ASSERT_TRUE(told.queue.runNext(30));
        EXPECT_EQ(told.toldOn, std::this_thread::get_id());
        EXPECT_EQ(contents(told.folder / "A.png"), "drawn");
    }

    Redrawing quit;
    quit.redraws->redraw("A.png");
    quit.images.asked.wait();
    quit.redraws.reset();
    quit.images.drawing.open();
    ASSERT_TRUE(quit.queue.runNext(30));
    EXPECT_EQ(quit.toldOn, std::thread::id());
    EXPECT_EQ(contents(quit.folder / "A.png"), "drawn");
}

} // namespace
} // namespace rondelix
