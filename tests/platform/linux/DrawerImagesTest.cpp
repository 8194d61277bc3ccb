#include "platform/linux/process/DrawerImages.h"

#include "DesktopApplication.h"
#include "icons/DrawnPng.h"
#include "support/CostlyPictures.h"
#include "support/Patience.h"

#include <QImage>
#include <chrono>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace rondelix::platform::linux_desktop {
namespace {

double threadProcessorSeconds() {
    rusage used{};
    ::getrusage(RUSAGE_THREAD, &used);
    return static_cast<double>(used.ru_utime.tv_sec + used.ru_stime.tv_sec) +
           static_cast<double>(used.ru_utime.tv_usec + used.ru_stime.tv_usec) / 1e6;
}

// A picture is read and drawn by the drawer; one whose reading would take a
// reader a minute and a half costs the caller next to nothing and ends with
// the drawer's watchdog.
TEST(DrawerImages, APictureCostsTheCallerOnlyItsHandingOver) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    SvgDrawerClient drawer(1, RONDELIX_SVG_DRAWER);
    const DrawerImages images(drawer, QtImages::Readers::namedRasters);

    const std::string red = testing::filledPicture(300, 200, Qt::red, "jpeg");
    EXPECT_EQ(images.declaredSize(red), (PixelSize{300, 200}));
    const auto png = images.drawnAsPNG(red, 30, 20, {});
    ASSERT_TRUE(png);
    const QImage drawn = QImage::fromData(QByteArray::fromStdString(*png), "PNG");
    EXPECT_EQ(drawn.size(), QSize(30, 20));
    EXPECT_GT(drawn.pixelColor(15, 10).red(), 240);

    const std::string costly = testing::commentedPng(500);
    const double processor = threadProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(images.declaredSize(costly), std::nullopt);
    EXPECT_EQ(images.drawnAsPNG(costly, 16, 16, {}), std::nullopt);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // The time is what is tested: two watchdog seconds, against the minutes
    // the picture costs a reader; the bounds lie far from both.
    EXPECT_LT(seconds, testing::patience);
    EXPECT_LT(threadProcessorSeconds() - processor, 1);
}

// A picture fitted in one request comes back as the window reads a stored
// icon: its pixels alone, whatever chunks it carried, at most the edge asked
// for; one declaring a side beyond the largest is refused. A few chunks are
// enough: sixty take seconds of the drawer's time, more than a busy machine
// leaves within one picture's limit.
TEST(DrawerImages, AFittedPictureKeepsOnlyItsPixels) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    SvgDrawerClient drawer(SvgDrawerClient::watchdogSeconds, RONDELIX_SVG_DRAWER);
    const DrawerImages images(drawer, QtImages::Readers::namedRasters);

    const auto fitted =
        images.fittedAsPNG(testing::commentedPng(6, 64, 3'000'000), 256, 1024, {}, nullptr).png;
    ASSERT_TRUE(fitted);
    EXPECT_TRUE(isDrawnPng(*fitted, 256));
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(*fitted), "PNG").size(), QSize(64, 64));

    const auto shrunk =
        images.fittedAsPNG(testing::filledPicture(1024, 512, Qt::red, "jpeg"), 256, 1024, {}, nullptr).png;
    ASSERT_TRUE(shrunk);
    EXPECT_TRUE(isDrawnPng(*shrunk, 256));
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(*shrunk), "PNG").size(), QSize(256, 128));
    EXPECT_EQ(
        images.fittedAsPNG(testing::filledPicture(1025, 16, Qt::red, "png"), 256, 1024, {}, nullptr).png,
        std::nullopt);
}

// A picture the drawer gave up on for its time or its memory, or because the
// account it was drawn for had none left, is told from one that is no picture.
TEST(DrawerImages, AFittedPictureGivenUpForItsCostSaysSo) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    SvgDrawerClient drawer(1, RONDELIX_SVG_DRAWER);
    const DrawerImages images(drawer, QtImages::Readers::namedRasters);

    const auto costly = images.fittedAsPNG(testing::commentedPng(500), 256, 1024, {}, nullptr);
    EXPECT_EQ(costly.png, std::nullopt);
    EXPECT_TRUE(costly.tooCostly);
    const auto broken = images.fittedAsPNG("\x89PNG\r\n\x1A\n and no picture", 256, 1024, {}, nullptr);
    EXPECT_EQ(broken.png, std::nullopt);
    EXPECT_FALSE(broken.tooCostly);

    const std::string red = testing::filledPicture(16, 16, Qt::red, "png");
    const auto spent = std::make_shared<FairTurns::Account>(FairTurns::Account{1, 1});
    const auto refused = images.fittedAsPNG(red, 256, 1024, {}, spent);
    EXPECT_EQ(refused.png, std::nullopt);
    EXPECT_TRUE(refused.tooCostly);
    EXPECT_TRUE(images.fittedAsPNG(red, 256, 1024, {}, nullptr).png);

    // Texts of 750 MB in all: the drawer's memory runs out within its deadline.
    SvgDrawerClient patient(SvgDrawerClient::watchdogSeconds, RONDELIX_SVG_DRAWER);
    const auto large = DrawerImages(patient, QtImages::Readers::namedRasters)
                           .fittedAsPNG(testing::commentedPng(250, 16, 3'000'000), 256, 1024, {}, nullptr);
    EXPECT_EQ(large.png, std::nullopt);
    EXPECT_TRUE(large.tooCostly);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
