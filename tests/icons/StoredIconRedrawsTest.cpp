#include "icons/StoredIconRedraws.h"

#include "icons/IconStore.h"
#include "platform/sim/SimBackground.h"
#include "platform/sim/SimImages.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimMainQueue.h"
#include "support/StoreRig.h"

#include <gtest/gtest.h>

using namespace rondelix;
using namespace rondelix::testing;
using platform::sim::SimImages;

namespace {

struct Redraws : ::testing::Test {
    TempHome home;
    std::filesystem::path folder = home.path / "icons";
    SimImages images;
    platform::sim::SimBackground background;
    platform::sim::SimMainQueue queue;
    platform::sim::SimLog log;
    StoredIconRedraws redraws{folder, {images, background, queue, log}};
    std::vector<std::string> told;

    void SetUp() override {
        std::filesystem::create_directories(folder);
        redraws.redrawn = [this](const std::string& name) { told.push_back(name); };
    }
};

} // namespace

// A stored file the window does not decode is drawn once, at an imported
// picture's size, and written over itself; the window is told once it is.
TEST_F(Redraws, DrawsAStoredFileAnewOnceAndTellsTheWindow) {
    writeText(folder / "A.png", SimImages::pngHeader(1024, 512) + "and a carried text");
    redraws.redraw("A.png");
    redraws.redraw("A.png");
    background.runAll();
    EXPECT_TRUE(told.empty()); // not before the main thread hears of it
    queue.runPending();
    EXPECT_EQ(readText(folder / "A.png"), SimImages::pngHeader(256, 128));
    EXPECT_EQ(images.drawings.size(), 1u);
    EXPECT_EQ(told, std::vector<std::string>{"A.png"});

    redraws.redraw("A.png");
    EXPECT_EQ(background.pendingCount(), 0u);
}

// One the drawer refuses stays as it is, is said in the log and not asked
// for again; a file changed while it was drawn is left to the new file.
TEST_F(Redraws, KeepsWhatTheDrawerRefusesAndAFileChangedMeanwhile) {
    const std::string refused = SimImages::pngHeader(4097, 16);
    writeText(folder / "B.png", refused);
    redraws.redraw("B.png");
    background.runAll();
    queue.runPending();
    EXPECT_EQ(readText(folder / "B.png"), refused);
    EXPECT_TRUE(told.empty());
    EXPECT_EQ(log.lines(),
              std::vector<std::string>{
                  "Rondelix: the stored icon B.png couldn't be drawn; its slices show a placeholder."});

    writeText(folder / "C.png", "new");
    EXPECT_TRUE(IconStore::replaceStored(folder, "C.png", "old", "drawn").ok());
    EXPECT_EQ(readText(folder / "C.png"), "new");
}
