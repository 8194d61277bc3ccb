#include "icons/ui/CustomIconThumbnail.h"

#include "icons/IconStore.h"
#include "support/ScopedHome.h"

#include <QImage>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

using namespace rondelix;
namespace fs = std::filesystem;

namespace {

// The thumbnail reads from the icons folder under the home folder, so the
// test gives the process a home of its own while it runs.
class ThumbnailHome : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = fs::temp_directory_path() / ("rondelix-thumb-" + std::to_string(::getpid()));
        fs::remove_all(home_);
        scoped_.emplace(home_);
        folder_ = IconStore::directory();
        fs::create_directories(folder_);
    }
    void TearDown() override {
        scoped_.reset();
        fs::remove_all(home_);
    }
    void writeImage(const std::string& name, int width, int height, const char* format = "PNG") {
        QImage image(width, height, QImage::Format_ARGB32);
        image.fill(Qt::red);
        ASSERT_TRUE(image.save(QString::fromStdString((folder_ / name).string()), format));
    }
    void writeBytes(const std::string& name, const std::string& bytes) {
        std::ofstream(folder_ / name, std::ios::binary) << bytes;
    }

    std::optional<rondelix::testing::ScopedHome> scoped_;
    fs::path home_;
    fs::path folder_;
};

TEST_F(ThumbnailHome, ShowsThePictureOrThePlaceholder) {
    writeImage("wide.png", 40, 10);
    writeBytes("damaged.png", "\x89PNG\r\n\x1a\nnot really");
    fs::create_directory(folder_ / "folder.png");
    ASSERT_EQ(mkfifo((folder_ / "pipe.png").c_str(), 0600), 0);
    // Declares 30000 × 30000 pixels in its header; never decoded.
    const char header[] = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x75\x30\0\0\x75\x30\x08\x06\0\0\0"
                          "\x66\x27\xf8\xba";
    writeBytes("huge.png", std::string(header, sizeof header - 1) + std::string(64, '\0'));
    // Only a PNG as the drawer writes it is shown: a picture of another
    // raster format waits to be drawn anew; a drawing never is.
    writeImage("photo.png", 8, 8, "JPEG");
    writeBytes(
        "drawing.png",
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="8" height="8"><rect width="8" height="8"/></svg>)");

    const std::vector<std::pair<std::string, bool>> cases{
        {"wide.png", true},     {"", false},
        {"missing.png", false}, {"damaged.png", false},
        {"folder.png", false},  {"pipe.png", false},
        {"huge.png", false},    {"../wide.png", false},
        {"photo.png", false},   {"drawing.png", false},
    };
    for (const auto& [name, shown] : cases) {
        CustomIconThumbnail thumbnail;
        thumbnail.resize(40, 40);
        thumbnail.setFilename(name);
        EXPECT_EQ(thumbnail.showsPicture(), shown) << name;
        EXPECT_FALSE(thumbnail.grab().isNull());
    }
}

TEST_F(ThumbnailHome, FitsThePictureInsideItsPadding) {
    writeImage("wide.png", 40, 10);
    CustomIconThumbnail thumbnail;
    thumbnail.resize(46, 46);
    thumbnail.setFilename("wide.png");
    const QImage shot = thumbnail.grab().toImage();
    // 40 wide inside 3 points of padding: red from x = 3 to 42, centred rows.
    EXPECT_EQ(shot.pixelColor(3, 23), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(42, 23), QColor(Qt::red));
    EXPECT_NE(shot.pixelColor(1, 23), QColor(Qt::red));
    EXPECT_NE(shot.pixelColor(23, 10), QColor(Qt::red)) << "aspect ratio kept";
}

TEST_F(ThumbnailHome, ReloadsWhenTheNameChanges) {
    CustomIconThumbnail thumbnail;
    thumbnail.setFilename("later.png");
    EXPECT_FALSE(thumbnail.showsPicture());
    writeImage("later.png", 8, 8);
    thumbnail.setFilename("later.png");
    EXPECT_TRUE(thumbnail.showsPicture()) << "a name that could not be read is tried again";
    thumbnail.setFilename("other.png");
    EXPECT_FALSE(thumbnail.showsPicture());
    thumbnail.setFilename("");
    EXPECT_FALSE(thumbnail.showsPicture());
}

} // namespace
