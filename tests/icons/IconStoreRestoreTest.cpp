#include "icons/Base64.h"
#include "icons/ExportedIcons.h"
#include "icons/IconStore.h"
#include "platform/sim/SimLog.h"
#include "support/StoreRig.h"
#include "util/Uuid.h"

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

struct Restore : ::testing::Test {
    TempHome home;
    fs::path folder = home.path / "icons";
    platform::sim::SimLog log;

    void restore(const ExportedIcons& icons) { IconStore::restoreExported(folder, icons, log); }
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
        icons[name] = Base64::encode("png bytes");
    restore(icons);
    EXPECT_EQ(fileCount(), 1u);
    EXPECT_EQ(readText(folder / lower), "png bytes");
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(Restore, SkipsOverlongTextBadBase64AndOversizedOrEmptyFiles) {
    // 5 MiB encodes to exactly the longest text accepted.
    const std::string fiveMiB(5 * MiB, 'x');
    const std::string atLimit = Base64::encode(fiveMiB);
    ASSERT_EQ(atLimit.size(), 6'990'508u);
    const auto a = freshName(), b = freshName(), c = freshName(), d = freshName(), e = freshName();
    restore({{a, atLimit},
             {b, atLimit + "AAAA"},                           // longer than any 5 MiB file
             {c, Base64::encode(fiveMiB + "y")},              // 5 MiB + 1 decoded
             {d, ""},                                         // decodes to nothing
             {e, Base64::encode("abcdef").insert(4, "\n")}}); // a line break is not Base64
    EXPECT_EQ(fs::file_size(folder / a), 5 * MiB);
    EXPECT_EQ(fileCount(), 1u);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(Restore, StopsBeforeTheWriteThatWouldPassThirtyTwoMiB) {
    const std::string fiveMiB = Base64::encode(std::string(5 * MiB, 'x'));
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
    icons[freshName()] = Base64::encode(std::string(2 * MiB, 'z'));
    restore(icons);
    EXPECT_EQ(fileCount(), 7u);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(Restore, WritesAtMost256FilesAndCountsOnlyWhatItWrote) {
    ExportedIcons icons;
    for (int i = 0; i < 256; ++i)
        icons[freshName()] = Base64::encode("icon " + std::to_string(i));
    restore(icons);
    EXPECT_EQ(fileCount(), 256u);
    EXPECT_TRUE(log.lines().empty());

    // Existing files and refused entries do not count toward the 256.
    fs::remove(folder / icons.begin()->first);
    icons["not-an-icon.png"] = Base64::encode("x");
    icons[freshName()] = Base64::encode("the 257th");
    restore(icons);
    EXPECT_EQ(fileCount(), 257u);
    EXPECT_TRUE(log.lines().empty());

    fs::remove_all(folder);
    icons[freshName()] = Base64::encode("one too many");
    restore(icons);
    EXPECT_EQ(fileCount(), 256u);
    EXPECT_EQ(log.lines(), std::vector<std::string>{safetyCap});
}

TEST_F(Restore, NeverReplacesAnythingNorWritesOutsideTheFolderAndLogsFailedWrites) {
    const auto kept = freshName(), dangling = freshName(), added = freshName(), failing = freshName();
    writeText(folder / kept, "original");
    ASSERT_EQ(::symlink((home.path / "outside.png").c_str(), (folder / dangling).c_str()), 0);
    fs::create_directories(folder / (failing + ".tmp/x")); // where the write must put its temporary file
    restore({{kept, Base64::encode("replacement")},
             {dangling, Base64::encode("x")},
             {added, Base64::encode("y")},
             {failing, Base64::encode("z")}});
    EXPECT_EQ(readText(folder / kept), "original");
    EXPECT_FALSE(fs::exists(home.path / "outside.png"));
    EXPECT_EQ(readText(folder / added), "y");
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_TRUE(log.lines()[0].starts_with("Rondelix: bundled icon restore failed for " + failing + ": "));

    // An icons folder that is a link to elsewhere gets nothing.
    fs::remove_all(folder);
    log.clear();
    fs::create_directory(home.path / "elsewhere");
    fs::create_directory_symlink(home.path / "elsewhere", folder);
    restore({{added, Base64::encode("y")}});
    EXPECT_TRUE(fs::is_empty(home.path / "elsewhere"));
    EXPECT_EQ(log.lines().at(0), "Rondelix: bundled icon restore failed for " + added + ": " +
                                     folder.string() + ": the icons folder is a symbolic link");
}
