#include "files/FileAccess.h"

#include <gtest/gtest.h>
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
