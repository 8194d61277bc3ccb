#include "icons/IconStore.h"
#include "platform/sim/SimImages.h"
#include "platform/sim/SimLog.h"
#include "support/StoreRig.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace rondelix;
using namespace rondelix::testing;
using platform::PixelSize;
using platform::sim::SimImages;
namespace fs = std::filesystem;

namespace {

struct Import : ::testing::Test {
    TempHome home;
    fs::path folder = home.path / "icons";
    fs::path picture = home.path / "chosen.png";
    SimImages images;
    platform::sim::SimLog log;

    std::optional<std::string> import(std::uint32_t width, std::uint32_t height) {
        writeText(picture, SimImages::pngHeader(width, height));
        return IconStore::importImage(folder, picture, images, log);
    }
};

} // namespace

TEST(IconStoreSize, ShrinksToTheLongestEdgeRoundingHalvesUpAndNeverGrows) {
    const std::vector<std::pair<PixelSize, PixelSize>> cases{{{300, 150}, {256, 128}}, {{100, 40}, {100, 40}},
                                                             {{512, 3}, {256, 2}},     {{1000, 1}, {256, 1}},
                                                             {{400, 400}, {256, 256}}, {{0.5, 0.25}, {1, 1}}};
    for (const auto& [from, to] : cases)
        EXPECT_EQ(platform::fittedSize(from, 256), to) << from.width << "x" << from.height;
    EXPECT_EQ(platform::fittedSize({0, 10}, 256), std::nullopt);
}

TEST_F(Import, StoresTheShrunkPictureUnderAFreshUuidNameUnlessItIsHuge) {
    const auto name = import(300, 150);
    ASSERT_TRUE(name);
    EXPECT_TRUE(IconStore::isManagedFilename(*name));
    EXPECT_EQ(*name, Uuid::parse(name->substr(0, 36))->text() + ".png"); // upper case
    EXPECT_EQ(readText(folder / *name), SimImages::pngHeader(256, 128));
    EXPECT_NE(import(300, 150), name);

    // A picture declaring too many pixels is never handed to the decoder.
    images.drawings.clear();
    EXPECT_EQ(import(100'000, 100'000), std::nullopt);
    EXPECT_EQ(import(10'000, 5'001), std::nullopt);
    EXPECT_TRUE(images.drawings.empty());
    EXPECT_TRUE(import(10'000, 5'000));
    EXPECT_EQ(images.drawings.size(), 1u);
}

TEST_F(Import, ReturnsNothingForWhatCannotBeReadDecodedOrWritten) {
    writeText(picture, "not a picture");
    EXPECT_EQ(IconStore::importImage(folder, picture, images, log), std::nullopt);
    images.drawingFails = true;
    EXPECT_EQ(import(10, 10), std::nullopt);
    EXPECT_TRUE(log.lines().empty());
    EXPECT_FALSE(fs::exists(folder));

    images.drawingFails = false;
    writeText(folder, "a file where the folder belongs");
    EXPECT_EQ(import(10, 10), std::nullopt);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_TRUE(log.lines()[0].starts_with("Rondelix: icon import failed: " + folder.string()));
}

TEST(IconStoreCleanUp, ChoosesOnlyUnreferencedManagedFilesAnHourOld) {
    const std::int64_t now = 1'700'000'000;
    const std::string a = "0F8E2C3A-1B2C-4D5E-8F90-A1B2C3D4E5F6.png";
    const std::string b = "1F8E2C3A-1B2C-4D5E-8F90-A1B2C3D4E5F6.png";
    const std::string c = "2f8e2c3a-1b2c-4d5e-8f90-a1b2c3d4e5f6.png";
    const std::vector<IconStore::FolderEntry> entries{
        {a, now - 100'000},          // referenced, in lower case
        {b, now - 3600},             // exactly an hour old
        {c, now - 3540},             // 59 minutes old
        {"logo.png", now - 100'000}, // not of the managed form
        {"2F8E2C3A-1B2C-4D5E-8F90-A1B2C3D4E5F6.PNG", now - 100'000},
        {"3F8E2C3A-1B2C-4D5E-8F90-A1B2C3D4E5F6.png", std::nullopt},
        {"4f8e2c3a-1b2c-4d5e-8f90-a1b2c3d4e5f6.png", now - 7200}};
    const std::set<std::string> keeping{"0f8e2c3a-1b2c-4d5e-8f90-a1b2c3d4e5f6.png"};
    EXPECT_EQ(IconStore::orphans(entries, keeping, now),
              (std::vector<std::string>{b, "4f8e2c3a-1b2c-4d5e-8f90-a1b2c3d4e5f6.png"}));
}

TEST(IconStoreCleanUp, DeletesOrphansFromTheFolderByTheirCreationTime) {
    TempHome home;
    const fs::path folder = home.path / "icons";
    IconStore::removeOrphans(folder, {}, 0); // no folder: nothing happens
    const std::string kept = "0F8E2C3A-1B2C-4D5E-8F90-A1B2C3D4E5F6.png", orphan = "1" + kept.substr(1);
    writeText(folder / kept, "k");
    writeText(folder / orphan, "o");
    struct statx info {};
    ASSERT_EQ(::statx(AT_FDCWD, (folder / orphan).c_str(), 0, STATX_BTIME, &info), 0);
    if (!(info.stx_mask & STATX_BTIME)) GTEST_SKIP() << "this file system keeps no creation times";

    IconStore::removeOrphans(folder, {kept}, info.stx_btime.tv_sec + 3600);
    EXPECT_FALSE(fs::exists(folder / orphan));
    EXPECT_TRUE(fs::exists(folder / kept));
}
