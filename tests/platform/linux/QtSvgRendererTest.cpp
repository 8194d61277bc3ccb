#include "platform/linux/QtSvgRenderer.h"

#include "DesktopApplication.h"
#include "platform/linux/QtImages.h"

#include <QColor>
#include <QImage>
#include <future>
#include <gtest/gtest.h>

namespace rondelix::platform::linux_desktop {
namespace {

QImage decoded(const std::optional<std::string>& png) {
    if (!png) return {};
    return QImage::fromData(reinterpret_cast<const uchar*>(png->data()), static_cast<int>(png->size()),
                            "PNG");
}

TEST(QtSvgRenderer, FitsTheDrawingCentredInATransparentSquare) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    QtSvgRenderer renderer;
    const QImage wide = decoded(renderer.renderPNG(
        R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 200 100"><rect width="200" height="100" fill="#f00"/></svg>)",
        128));
    ASSERT_EQ(wide.size(), QSize(128, 128));
    EXPECT_EQ(wide.pixelColor(64, 64), QColor(Qt::red));
    EXPECT_EQ(wide.pixelColor(2, 64), QColor(Qt::red));
    // A 2:1 drawing leaves a quarter of the square clear above and below.
    EXPECT_EQ(wide.pixelColor(64, 16).alpha(), 0);
    EXPECT_EQ(wide.pixelColor(64, 111).alpha(), 0);

    EXPECT_EQ(renderer.renderPNG("<svg", 128), std::nullopt);
    EXPECT_EQ(renderer.renderPNG("not a drawing at all", 128), std::nullopt);
}

TEST(QtSvgRenderer, TheWatchdogAnswersAndALateDrawingIsDropped) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    int drawings = 0;
    {
        QtSvgRenderer renderer(0, [&](const QByteArray&, int side) {
            ++drawings;
            released.wait();
            QImage image(side, side, QImage::Format_ARGB32);
            image.fill(Qt::blue);
            return image;
        });
        EXPECT_EQ(renderer.renderPNG("<svg/>", 16), std::nullopt);
        release.set_value();
    } // the renderer waits for the drawing it abandoned
    EXPECT_EQ(drawings, 1);
}

TEST(QtImages, WebsitePicturesAreReadAsPixelsOnly) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    const std::string drawing =
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16"><rect width="16" height="16"/></svg>)";
    EXPECT_EQ(QtImages().declaredSize(drawing), (PixelSize{16, 16}));
    EXPECT_EQ(QtImages(QtImages::Drawings::refused).declaredSize(drawing), std::nullopt);
    EXPECT_EQ(QtImages(QtImages::Drawings::refused).drawnAsPNG(drawing, 16, 16), std::nullopt);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
