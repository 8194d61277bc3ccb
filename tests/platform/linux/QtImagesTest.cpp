#include "platform/linux/QtImages.h"

#include "icons/IconStore.h"
#include "platform/sim/SimLog.h"

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
    const auto home =
        std::filesystem::temp_directory_path() / ("rondelix-qtimages-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
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
    EXPECT_EQ(images.drawnAsPNG("not a picture", 10, 10), std::nullopt);
    std::filesystem::remove_all(home);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
