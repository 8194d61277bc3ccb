#include "icons/IconStore.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using rondelix::IconStore::load;

namespace {
class IconStoreLoad : public testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("rondelix-icons-" + std::to_string(::getpid()));
        fs::create_directories(folder / "sub");
        std::ofstream(folder / "sub/inner.png") << "x";
        std::ofstream(folder.parent_path() / "outside.png") << "secret";
    }
    void TearDown() override {
        fs::remove_all(folder);
        fs::remove(folder.parent_path() / "outside.png");
    }
    fs::path folder;
};
} // namespace

TEST_F(IconStoreLoad, ReadsAFileOfTheFolderByItsBareName) {
    std::ofstream(folder / "A.png", std::ios::binary) << std::string("\x89PNG\0\1", 6);
    EXPECT_EQ(load(folder, "A.png"), std::string("\x89PNG\0\1", 6));
    EXPECT_EQ(load(folder, "missing.png"), std::nullopt);
}

TEST_F(IconStoreLoad, RefusesNamesThatAreNotBareFileNames) {
    for (const char* name : {"", ".", "..", "sub/inner.png", "../outside.png", "/etc/hostname", "sub/"})
        EXPECT_EQ(load(folder, name), std::nullopt) << name;
    EXPECT_FALSE(rondelix::IconStore::isUsableFilename("a/b"));
    EXPECT_TRUE(rondelix::IconStore::isUsableFilename("..png"));
}

TEST_F(IconStoreLoad, ReadsOnlyRegularFilesOfBoundedSize) {
    ASSERT_EQ(::mkfifo((folder / "fifo.png").c_str(), 0600), 0);
    EXPECT_EQ(load(folder, "fifo.png"), std::nullopt);
    EXPECT_EQ(load(folder, "sub"), std::nullopt);
    fs::resize_file((std::ofstream(folder / "big.png"), folder / "big.png"),
                    rondelix::IconStore::maxFileBytes + 1);
    EXPECT_EQ(load(folder, "big.png"), std::nullopt);
    fs::resize_file(folder / "big.png", rondelix::IconStore::maxFileBytes);
    EXPECT_EQ(load(folder, "big.png")->size(), rondelix::IconStore::maxFileBytes);
}
