#include "files/ImportSafety.h"

#include "support/StoreRig.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace rondelix;
using namespace rondelix::testing;
using Kind = ImportSafety::Failure::Kind;

TEST(ImportSafety, ReadsUpToTheCapAndRefusesOneByteMore) {
    TempHome home;
    const auto file = home.path / "big.json";
    writeText(file, "");
    std::filesystem::resize_file(file, ImportSafety::maxImportBytes);
    EXPECT_EQ(ImportSafety::readData(file, ImportSafety::maxImportBytes).bytes.size(), 50'331'648u);

    std::filesystem::resize_file(file, ImportSafety::maxImportBytes + 1);
    const auto over = ImportSafety::readData(file, ImportSafety::maxImportBytes);
    EXPECT_TRUE(over.failure && over.failure->kind == Kind::tooLarge && over.bytes.empty());
}

TEST(ImportSafety, ReadsEveryChunkOfAFileAndFilesThatReportNoSize) {
    TempHome home;
    std::string content(300'000, 'x');
    content.replace(100'000, 5, "bytes");
    writeText(home.path / "long.json", content);
    EXPECT_EQ(ImportSafety::readData(home.path / "long.json", 1'000'000).bytes, content);

    // The kernel's own files have a size of zero until they are read.
    const auto status = ImportSafety::readData("/proc/self/status", 1'000'000);
    ASSERT_TRUE(status.ok());
    EXPECT_NE(status.bytes.find("Name:"), std::string::npos);
}

TEST(ImportSafety, RefusesAtOnceWhatIsNotARegularFile) {
    TempHome home;
    const auto fifo = home.path / "pipe.json";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& path : {fifo, std::filesystem::path("/dev/zero"), home.path, home.path / "missing"}) {
        const auto read = ImportSafety::readData(path, 1024);
        ASSERT_FALSE(read.ok()) << path;
        EXPECT_EQ(read.failure->kind, Kind::unreadable) << path;
        EXPECT_TRUE(read.failure->description.starts_with(path.string() + ": ")) << read.failure->description;
    }
}

// A file that must be stored on a disk, such as a chosen picture: what the
// kernel makes up as it is read is refused at once, unlike where any file goes.
TEST(ImportSafety, ReadsStoredDataOnlyFromFilesOnADisk) {
    TempHome home;
    writeText(home.path / "picture.png", "stored");
    EXPECT_EQ(ImportSafety::readStoredData(home.path / "picture.png", 1024).bytes, "stored");
    for (const std::filesystem::path made :
         {"/proc/self/status", "/proc/self/cmdline", "/sys/kernel/uevent_seqnum"}) {
        ASSERT_TRUE(ImportSafety::readData(made, 1'000'000).ok()) << made;
        const auto read = ImportSafety::readStoredData(made, 1'000'000);
        ASSERT_FALSE(read.ok()) << made;
        EXPECT_EQ(read.failure->description, made.string() + ": not a file stored on a disk");
    }
}
