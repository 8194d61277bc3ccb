#include "platform/linux/QtSvgRenderer.h"

#include "DesktopApplication.h"
#include "icons/FaviconSvgCleaner.h"
#include "platform/linux/QtImages.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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
        128, nullptr));
    ASSERT_EQ(wide.size(), QSize(128, 128));
    EXPECT_EQ(wide.pixelColor(64, 64), QColor(Qt::red));
    EXPECT_EQ(wide.pixelColor(2, 64), QColor(Qt::red));
    // A 2:1 drawing leaves a quarter of the square clear above and below.
    EXPECT_EQ(wide.pixelColor(64, 16).alpha(), 0);
    EXPECT_EQ(wide.pixelColor(64, 111).alpha(), 0);

    EXPECT_EQ(renderer.renderPNG("<svg", 128, nullptr), std::nullopt);
    EXPECT_EQ(renderer.renderPNG("not a drawing at all", 128, nullptr), std::nullopt);
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
        EXPECT_EQ(renderer.renderPNG("<svg/>", 16, nullptr), std::nullopt);
        release.set_value();
    } // the renderer waits for the drawing it abandoned
    EXPECT_EQ(drawings, 1);
}

TEST(QtSvgRenderer, NeitherACallerNorGoingAwayWaitsOnAStuckDrawing) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto started = std::make_shared<std::promise<void>>();
    auto hold = std::make_shared<int>();
    const std::weak_ptr<int> held = hold;
    {
        QtSvgRenderer renderer(60, [released, started](const QByteArray&, int) {
            started->set_value();
            released.wait();
            return QImage();
        });
        auto caller = std::async(std::launch::async, [&] { return renderer.renderPNG("<svg/>", 16, hold); });
        started->get_future().wait();
        hold.reset();
        renderer.shutDown();
        ASSERT_EQ(caller.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        EXPECT_EQ(caller.get(), std::nullopt);
        EXPECT_EQ(renderer.renderPNG("<svg/>", 16, nullptr), std::nullopt);
    } // going away leaves the stuck drawing behind
    // The drawing keeps its hold until it really ends.
    EXPECT_FALSE(held.expired());
    release.set_value();
    for (int wait = 0; wait < 1000 && !held.expired(); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(held.expired());
}

// A website's drawing, cleaned and drawn as the program draws it, opens no
// file: neither a picture on disk nor a FIFO that would stall its reader.
TEST(QtSvgRenderer, ACleanedDrawingOpensNoFile) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string picture = folder.filePath("secret.png").toStdString();
    const std::string fifo = folder.filePath("fifo").toStdString();
    QImage red(8, 8, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdString(picture)));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, folder.path().toLocal8Bit().constData(), IN_OPEN), 0);

    QtSvgRenderer renderer(1);
    const char* const variants[] = {
        R"(<svg><text> a="</text><image width="8" height="8" xlink:href="FILE"/></svg>)",
        R"(<svg><!-- a="--><image width="8" height="8" xlink:href="FILE"/></svg>)",
        R"(<svg><style><![CDATA[ a="]]></style><image width="8" height="8" xlink:href="FILE"/></svg>)",
        R"(<svg><text> a='</text><image width="8" height="8" xlink:href="FILE"/>'</svg>)",
        R"(<?xml-stylesheet type="text/css" href="FILE"?><svg/>)",
    };
    for (const std::string variant : variants)
        for (const auto& file : {picture, fifo}) {
            auto svg = variant;
            svg.replace(svg.find("FILE"), 4, file);
            const auto cleaned = cleanedSvg(svg, [](std::string_view) { return true; });
            ASSERT_TRUE(cleaned) << svg;
            renderer.renderPNG(*cleaned, 16, nullptr);
        }

    // Opening the FIFO's writing end without waiting works only while
    // something has it open for reading.
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    const int openError = errno;
    if (writer >= 0) ::close(writer); // frees a stalled reader
    EXPECT_LT(writer, 0);
    EXPECT_EQ(openError, ENXIO);
    char events[4096];
    EXPECT_LE(::read(watch, events, sizeof events), 0) << "a file in the folder was opened";
    ::close(watch);
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
