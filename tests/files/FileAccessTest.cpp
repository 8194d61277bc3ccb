#include "files/FileAccess.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace rondelix;

TEST(FileAccess, WritesReadBackAndFailuresNameThePath) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("rondelix-file-access-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);

    const auto file = folder / "config.json";
    ASSERT_TRUE(writeFileAtomically(file, "{}\n").ok());
    const auto read = readWholeFile(file);
    ASSERT_TRUE(read.ok()) << read.error();
    EXPECT_EQ(read.value(), "{}\n");
    EXPECT_TRUE(read.error().empty());

    const auto nowhere = folder / "missing" / "config.json";
    const auto written = writeFileAtomically(nowhere, "{}\n");
    EXPECT_FALSE(written.ok());
    EXPECT_NE(written.error().find(nowhere.string()), std::string::npos) << written.error();
    const auto unread = readWholeFile(nowhere);
    EXPECT_FALSE(unread.ok());
    EXPECT_NE(unread.error().find(nowhere.string()), std::string::npos) << unread.error();

    std::filesystem::remove_all(folder);
}

// Whatever the umask, the program's own files and folders are the user's
// alone; a file already there keeps its mode, a copy takes no more than its
// original allows, and an exported file follows the umask.
TEST(FileAccess, NewFilesAreTheUsersAloneAndExportsFollowTheUmask) {
    const mode_t umaskBefore = ::umask(022);
    const auto folder =
        std::filesystem::temp_directory_path() / ("rondelix-file-modes-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    ASSERT_FALSE(makePrivateFolders(folder / "a" / "b"));
    const auto modeOf = [](const std::filesystem::path& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 0777;
    };
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(modeOf(folder / "a" / "b"), 0700u);
    ::chmod(folder.c_str(), 0755);
    EXPECT_FALSE(makePrivateFolders(folder / "a"));
    EXPECT_EQ(modeOf(folder), 0755u) << "a folder already there is left alone";
    ASSERT_TRUE(writeFileAtomically(folder / "plain", "x").ok());
    EXPECT_EQ(makePrivateFolders(folder / "plain"), std::errc::not_a_directory);

    struct Case {
        const char* name;
        std::optional<mode_t> existing;
        std::function<Result<>(const std::filesystem::path&)> write;
        mode_t expected;
    };
    const auto original = folder / "original";
    ASSERT_TRUE(writeFileAtomically(original, "x").ok());
    ::chmod(original.c_str(), 0600);
    const std::vector<Case> cases{
        {"own file", std::nullopt, [](auto& f) { return writeFileAtomically(f, "x"); }, 0600},
        {"own file, fresh temporary", std::nullopt,
         [](auto& f) { return writeFileAtomically(f, "x", TemporaryName::fresh); }, 0600},
        {"exported file", std::nullopt,
         [](auto& f) { return writeFileAtomically(f, "x", TemporaryName::fresh, NewFileMode::userUmask); },
         0644},
        {"own file the user opened to the group", 0640, [](auto& f) { return writeFileAtomically(f, "x"); },
         0640},
        {"copy of a file the user closed", 0644,
         [&](auto& f) { return writeCopyAtomically(f, "x", original); }, 0600},
        {"copy of a file gone", std::nullopt,
         [&](auto& f) { return writeCopyAtomically(f, "x", folder / "gone"); }, 0600},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto file = folder / ("file" + std::to_string(i));
        if (cases[i].existing) {
            ASSERT_TRUE(writeFileAtomically(file, "old").ok());
            ::chmod(file.c_str(), *cases[i].existing);
        }
        ASSERT_TRUE(cases[i].write(file).ok()) << cases[i].name;
        EXPECT_EQ(modeOf(file), cases[i].expected) << cases[i].name;
    }
    ::umask(umaskBefore);
    std::filesystem::remove_all(folder);
}

// A copy made by a link holds the original's bytes, keeps them once the
// original is replaced, leaves no temporary behind (also when it names the
// original's file already) and never opens a file wider than it was.
TEST(FileAccess, ALinkedCopyKeepsTheOldBytesAndNeverWidensAMode) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("rondelix-file-link-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    ASSERT_FALSE(makePrivateFolders(folder));
    const auto original = folder / "config.json", copy = folder / "config.json.bak";
    const auto text = [](const std::filesystem::path& file) { return readWholeFile(file).value(); };
    ASSERT_TRUE(writeFileAtomically(original, "one").ok());
    const auto written = fileIdentity(original);
    ASSERT_TRUE(written);

    for (int twice = 0; twice < 2; ++twice)
        ASSERT_TRUE(linkCopyAtomically(copy, original).ok()) << twice;
    EXPECT_EQ(text(copy), "one");
    EXPECT_EQ(fileIdentity(original), written) << "a link is no write";
    ASSERT_TRUE(writeFileAtomically(original, "two").ok());
    EXPECT_EQ(text(copy), "one");
    EXPECT_EQ(text(original), "two");
    EXPECT_NE(fileIdentity(original), written);
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 2);

    ::chmod(original.c_str(), 0644);
    EXPECT_FALSE(linkCopyAtomically(copy, original).ok());
    EXPECT_EQ(text(copy), "one");
    std::filesystem::remove_all(folder);
}
