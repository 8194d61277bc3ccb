#include "platform/linux/qt/QtImages.h"

#include "icons/IconStore.h"
#include "platform/sim/SimLog.h"
#include "support/CostlyPictures.h"
#include "support/OpenWatch.h"
#include "support/StoreRig.h"
#include "util/JpegScans.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace rondelix::platform::linux_desktop {
namespace {

std::string encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

// A valid BMP header claiming a picture far too large to decode.
std::string hugeBmpHeader() {
    std::string bmp = encoded(QImage(1, 1, QImage::Format_RGB32), "BMP");
    for (const std::size_t offset : {18, 22})                       // width, then height, little-endian
        bmp.replace(offset, 4, std::string("\x80\x3E\x00\x00", 4)); // 16,000
    return bmp;
}

TEST(QtImages, StoresAChosenPictureShrunkWithItsAlphaAndRefusesAHugeOne) {
    const testing::TempHome temp;
    const auto& home = temp.path;
    QImage source(512, 3, QImage::Format_ARGB32);
    source.fill(QColor(255, 0, 0, 128));
    std::ofstream(home / "chosen.png", std::ios::binary) << encoded(source, "PNG");
    std::ofstream(home / "huge.bmp", std::ios::binary) << hugeBmpHeader();
    QtImages images;
    sim::SimLog log;

    const auto name = IconStore::importImage(home / "icons", home / "chosen.png", images, log);
    ASSERT_TRUE(name);
    const QImage stored(QString::fromStdString((home / "icons" / *name).string()), "PNG");
    EXPECT_EQ(stored.size(), QSize(256, 2));
    EXPECT_NEAR(stored.pixelColor(100, 1).alpha(), 128, 1);
    EXPECT_EQ(images.declaredSize(hugeBmpHeader()), (PixelSize{16000, 16000})); // read from the header only
    EXPECT_EQ(IconStore::importImage(home / "icons", home / "huge.bmp", images, log), std::nullopt);
    EXPECT_EQ(images.declaredSize("not a picture"), std::nullopt);
    EXPECT_EQ(images.drawnAsPNG("not a picture", 10, 10, {}), std::nullopt);
}

// Pictures a user could pick that are not what their names say: a drawing
// under a PNG name that names a picture of the user's own, and a picture in
// a format the chooser does not offer. Neither is stored, and the picture
// the drawing names is never opened.
TEST(QtImages, StoresOnlyTheRasterFormatsTheChooserOffersAndOpensNothingAPictureNames) {
    const testing::TempHome temp;
    const auto& home = temp.path;
    const auto hidden = home / "private";
    std::filesystem::create_directories(hidden);
    QImage red(64, 64, QImage::Format_ARGB32);
    red.fill(Qt::red);
    std::ofstream(hidden / "secret.png", std::ios::binary) << encoded(red, "PNG");
    const std::string secret = (hidden / "secret.png").string();
    std::ofstream(home / "icon.png")
        << R"(<svg xmlns="http://www.w3.org/2000/svg" )"
           R"(xmlns:xlink="http://www.w3.org/1999/xlink" width="64" height="64">)"
           R"(<image width="64" height="64" href=")"
        << secret << R"(" xlink:href=")" << secret << R"("/></svg>)";
    std::ofstream(home / "bits.png") << "P1\n2 2\n0 1 1 0\n";
    std::ofstream(home / "red.png", std::ios::binary) << encoded(red, "PNG");
    const testsupport::OpenWatch watch(hidden);
    ASSERT_TRUE(watch.watching()) << watch.problem;
    QtImages images;
    sim::SimLog log;

    EXPECT_EQ(IconStore::importImage(home / "icons", home / "icon.png", images, log), std::nullopt);
    EXPECT_EQ(IconStore::importImage(home / "icons", home / "bits.png", images, log), std::nullopt);
    EXPECT_FALSE(watch.touched()) << "the picture the drawing names was opened";
    EXPECT_TRUE(IconStore::importImage(home / "icons", home / "red.png", images, log).has_value());
}

// What is drawn holds the picture's pixels and nothing else it carried; a
// progressive JPEG with more scans than any camera or program writes is not
// decoded at all.
TEST(QtImages, DrawsOnlyThePixelsOfPicturesWithinTheScanLimit) {
    QImage commented(8, 8, QImage::Format_ARGB32);
    commented.fill(Qt::green);
    commented.setText("Comment", std::string(100, 'c').c_str());
    const auto png = QtImages().drawnAsPNG(encoded(commented, "PNG"), 8, 8, {});
    ASSERT_TRUE(png);
    for (const char* chunk : {"tEXt", "zTXt", "iTXt", "iCCP"})
        EXPECT_EQ(png->find(chunk), std::string::npos) << chunk;

    EXPECT_TRUE(QtImages().drawnAsPNG(testing::jpegOfScans(maxJpegScans), 8, 8, {}));
    EXPECT_EQ(QtImages().drawnAsPNG(testing::jpegOfScans(maxJpegScans + 1), 8, 8, {}), std::nullopt);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
