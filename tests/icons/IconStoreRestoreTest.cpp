#include "icons/Base64.h"
#include "icons/ExportedIcons.h"
#include "icons/IconStore.h"
#include "platform/sim/SimImages.h"
#include "platform/sim/SimLog.h"
#include "support/StoreRig.h"
#include "util/Uuid.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace rondelix;
using namespace rondelix::testing;
namespace fs = std::filesystem;

namespace {

constexpr const char* safetyCap = "Rondelix: bundled icon restore stopped at the safety cap.";
constexpr const char* aggregateCap = "Rondelix: bundled icon restore stopped at the aggregate cap.";
constexpr std::size_t MiB = 1024 * 1024;

std::string freshName() {
    return Uuid::generate().text() + ".png";
}

std::string png(const std::string& tail) {
    return platform::sim::SimImages::pngHeader(16, 16) + tail;
}

std::string pngOfSize(std::size_t bytes) {
    return png(std::string(bytes - png("").size(), 'x'));
}

struct Restore : ::testing::Test {
    TempHome home;
    fs::path folder = home.path / "icons";
    platform::sim::SimLog log;
    platform::sim::SimImages images;

    void restore(const ExportedIcons& icons) { IconStore::restoreExported(folder, icons, images, log); }
    std::size_t fileCount() const {
        std::error_code ec;
        return std::distance(fs::directory_iterator(folder, ec), fs::directory_iterator());
    }
};

} // namespace

TEST_F(Restore, AcceptsOnlyBareUuidPngNamesAndKeepsTheirCase) {
    const std::string lower = "0f8e2c3a-1b2c-4d5e-8f90-a1b2c3d4e5f6.png";
    const std::string upper = freshName();
    ExportedIcons icons;
    for (const auto& name : std::vector<std::string>{"readme.txt", "abc.png", "sub/" + upper, "../" + upper,
                                                     upper + "/", lower, upper.substr(0, 36) + ".PNG"})
        icons[name] = Base64::encode(png("bytes"));
    restore(icons);
    EXPECT_EQ(fileCount(), 1u);
    EXPECT_EQ(readText(folder / lower), png(""));
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(Restore, SkipsOverlongTextBadBase64AndOversizedOrEmptyFiles) {
    // 5 MiB encodes to exactly the longest text accepted.
    const std::string fiveMiB = pngOfSize(5 * MiB);
    const std::string atLimit = Base64::encode(fiveMiB);
    ASSERT_EQ(atLimit.size(), 6'990'508u);
    const auto a = freshName(), b = freshName(), c = freshName(), d = freshName(), e = freshName();
    restore({{a, atLimit},
             {b, atLimit + "AAAA"},                           // longer than any 5 MiB file
             {c, Base64::encode(fiveMiB + "y")},              // 5 MiB + 1 decoded
             {d, ""},                                         // decodes to nothing
             {e, Base64::encode("abcdef").insert(4, "\n")}}); // a line break is not Base64
    EXPECT_TRUE(fs::exists(folder / a));
    EXPECT_EQ(fileCount(), 1u);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(Restore, StopsBeforeTheWriteThatWouldPassThirtyTwoMiB) {
    const std::string fiveMiB = Base64::encode(pngOfSize(5 * MiB));
    ExportedIcons icons;
    for (int i = 0; i < 7; ++i)
        icons[freshName()] = fiveMiB;
    restore(icons);
    EXPECT_EQ(fileCount(), 6u); // 31,457,280 bytes; a seventh would make 36,700,160
    EXPECT_EQ(log.lines(), std::vector<std::string>{aggregateCap});

    // A file that brings the total to exactly 32 MiB is written.
    fs::remove_all(folder);
    log.clear();
    icons.erase(icons.begin());
    icons[freshName()] = Base64::encode(pngOfSize(2 * MiB));
    restore(icons);
    EXPECT_EQ(fileCount(), 7u);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(Restore, WritesAtMost256FilesAndCountsOnlyWhatItWrote) {
    ExportedIcons icons;
    for (int i = 0; i < 256; ++i)
        icons[freshName()] = Base64::encode(png("icon " + std::to_string(i)));
    restore(icons);
    EXPECT_EQ(fileCount(), 256u);
    EXPECT_TRUE(log.lines().empty());

    // Existing files and refused entries do not count toward the 256.
    fs::remove(folder / icons.begin()->first);
    icons["not-an-icon.png"] = Base64::encode("x");
    icons[freshName()] = Base64::encode(png("the 257th"));
    restore(icons);
    EXPECT_EQ(fileCount(), 257u);
    EXPECT_TRUE(log.lines().empty());

    fs::remove_all(folder);
    icons[freshName()] = Base64::encode(png("one too many"));
    restore(icons);
    EXPECT_EQ(fileCount(), 256u);
    EXPECT_EQ(log.lines(), std::vector<std::string>{safetyCap});
}

TEST_F(Restore, NeverReplacesAnythingNorWritesOutsideTheFolderAndLogsFailedWrites) {
    const auto kept = freshName(), dangling = freshName(), added = freshName(), failing = freshName();
    writeText(folder / kept, "original");
    ASSERT_EQ(::symlink((home.path / "outside.png").c_str(), (folder / dangling).c_str()), 0);
    fs::create_directories(folder / (failing + ".tmp/x")); // where the write must put its temporary file
    restore({{kept, Base64::encode(png("replacement"))},
             {dangling, Base64::encode(png("x"))},
             {added, Base64::encode(png("y"))},
             {failing, Base64::encode(png("z"))}});
    EXPECT_EQ(readText(folder / kept), "original");
    EXPECT_FALSE(fs::exists(home.path / "outside.png"));
    EXPECT_EQ(readText(folder / added), png(""));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_TRUE(log.lines()[0].starts_with("Rondelix: bundled icon restore failed for " + failing + ": "));

    // An icons folder that is a link to elsewhere gets nothing.
    fs::remove_all(folder);
    log.clear();
    fs::create_directory(home.path / "elsewhere");
    fs::create_directory_symlink(home.path / "elsewhere", folder);
    restore({{added, Base64::encode(png("y"))}});
    EXPECT_TRUE(fs::is_empty(home.path / "elsewhere"));
    EXPECT_EQ(log.lines().at(0), "Rondelix: bundled icon restore failed for " + added + ": " +
                                     folder.string() + ": the icons folder is a symbolic link");
}

// Whatever a file carries under a PNG name, only a PNG picture that decodes
// and is of an icon's size is kept, drawn anew at an imported picture's size
// so that none of the carried file's other chunks reach the window; what is
// left out is said.
TEST_F(Restore, KeepsOnlyPngPicturesThatDecodeAndSaysWhatItLeftOut) {
    const auto drawing = freshName(), unreadable = freshName(), huge = freshName(), undecodable = freshName(),
               kept = freshName();
    restore({{drawing,
              Base64::encode(R"(<svg xmlns="http://www.w3.org/2000/svg"><image href="/etc/passwd"/></svg>)")},
             {unreadable, Base64::encode("\x89PNG\r\n\x1A\n and no picture")},
             {huge, Base64::encode(platform::sim::SimImages::pngHeader(1025, 16))},
             {kept, Base64::encode(platform::sim::SimImages::pngHeader(1024, 1024))}});
    images.drawingFails = true;
    restore({{undecodable, Base64::encode(png(""))}});
    EXPECT_EQ(fileCount(), 1u);
    EXPECT_EQ(readText(folder / kept), platform::sim::SimImages::pngHeader(256, 256));
    auto lines = log.lines();
    std::ranges::sort(lines);
    std::vector<std::string> expected;
    for (const auto& name : {drawing, unreadable, huge, undecodable})
        expected.push_back("Rondelix: bundled icon restore skipped " + name + ": it isn't a PNG icon.");
    std::ranges::sort(expected);
    EXPECT_EQ(lines, expected);
}

// A file carrying many pictures that each cost the drawer its whole deadline
// gets one budget of drawing for all of them, not one per picture; what the
// drawer gave up on is said to have cost too much, not to be no PNG.
TEST_F(Restore, DrawsAllOfARestoresPicturesWithinOneBudgetAndSaysWhatCostTooMuch) {
    const auto saying = [](const std::string& name) {
        return "Rondelix: bundled icon restore skipped " + name +
               ": it takes longer to draw than a restore allows.";
    };
    images.drawingSeconds = 5;
    ExportedIcons icons;
    for (int i = 0; i < 6; ++i)
        icons[freshName()] = Base64::encode(png("icon " + std::to_string(i)));
    restore(icons);
    EXPECT_EQ(fileCount(), 4u); // twenty seconds
    std::vector<std::string> refused;
    for (const auto& [name, text] : icons)
        if (!fs::exists(folder / name)) refused.push_back(saying(name));
    EXPECT_EQ(log.lines(), refused);

    // A restore gets a budget of its own; a picture past the deadline is
    // refused however much of it is left.
    fs::remove_all(folder);
    log.clear();
    images.drawingSeconds = images.deadline + 1;
    const auto costly = freshName();
    restore({{costly, Base64::encode(png(""))}});
    images.drawingSeconds = 0;
    restore(icons);
    EXPECT_EQ(fileCount(), 6u);
    EXPECT_EQ(log.lines(), std::vector<std::string>{saying(costly)});
}

// A stopped restore keeps what it wrote and writes nothing more: a picture
// not begun is not drawn, and one drawn by the time of the stop is dropped
// too; the log counts what was dropped.
TEST_F(Restore, AStoppedRestoreKeepsWhatItWroteAndDropsThePictureBeingDrawn) {
    const auto saying = [](int dropped) {
        return "Rondelix: bundled icon restore was stopped: " + std::to_string(dropped) +
               " of its pictures dropped.";
    };
    ExportedIcons icons;
    for (int i = 0; i < 4; ++i)
        icons[freshName()] = Base64::encode(png("icon " + std::to_string(i)));
    const auto run = [&](const IconStore::KeepGoing& keepGoing) {
        fs::remove_all(folder);
        log.clear();
        images.drawings.clear();
        IconStore::restoreExported(folder, icons, images, log, keepGoing);
    };

    run([&] { return fileCount() < 2; });
    EXPECT_EQ(fileCount(), 2u);
    EXPECT_EQ(images.drawings.size(), 2u);
    EXPECT_EQ(log.lines(), std::vector<std::string>{saying(2)});

    run([&] { return images.drawings.size() < 2; });
    EXPECT_EQ(fileCount(), 1u);
    EXPECT_EQ(images.drawings.size(), 2u);
    EXPECT_EQ(log.lines(), std::vector<std::string>{saying(3)});
}
