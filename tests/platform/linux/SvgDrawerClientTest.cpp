#include "platform/linux/process/SvgDrawerClient.h"

#include "DesktopApplication.h"
#include "icons/FaviconSvgCleaner.h"
#include "platform/linux/qt/QtImages.h"
#include "support/OpenWatch.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
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

TEST(SvgDrawerClient, FitsTheDrawingCentredInATransparentSquare) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    SvgDrawerClient renderer(SvgDrawerClient::watchdogSeconds, RONDELIX_SVG_DRAWER);
    const QImage wide = decoded(renderer.renderPNG(
        R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 200 100"><rect width="200" height="100" fill="#f00"/></svg>)",
        128, 6, nullptr));
    ASSERT_EQ(wide.size(), QSize(128, 128));
    EXPECT_EQ(wide.pixelColor(64, 64), QColor(Qt::red));
    EXPECT_EQ(wide.pixelColor(2, 64), QColor(Qt::red));
    // A 2:1 drawing leaves a quarter of the square clear above and below.
    EXPECT_EQ(wide.pixelColor(64, 16).alpha(), 0);
    EXPECT_EQ(wide.pixelColor(64, 111).alpha(), 0);

    EXPECT_EQ(renderer.renderPNG("<svg", 128, 6, nullptr), std::nullopt);
    EXPECT_EQ(renderer.renderPNG("not a drawing at all", 128, 6, nullptr), std::nullopt);
}

// A drawer that never answers, standing in for a drawing that never ends:
// it notes its process and waits.
struct StuckDrawer {
    StuckDrawer() {
        std::ofstream(path) << "#!/bin/sh\necho $$ > '" << folder.filePath("pid").toStdString()
                            << "'\nexec sleep 60\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }
    // Whether the last drawer started is still there, reaped or not.
    bool lastStillThere() const {
        std::ifstream file(folder.filePath("pid").toStdString());
        pid_t pid = 0;
        return file >> pid && ::kill(pid, 0) == 0;
    }
    QTemporaryDir folder;
    std::string path = folder.filePath("drawer").toStdString();
};

TEST(SvgDrawerClient, NoDrawingOutlivesItsTimeItsCallerOrTheRenderer) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    StuckDrawer drawer;
    SvgDrawerClient renderer(60, drawer.path);
    // The caller's time, or the renderer's own watchdog, whichever is shorter.
    // The time is what is tested: the caller's 0.3 s, not the watchdog's 60;
    // the bound lies far from both.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(renderer.renderPNG("<svg/>", 16, 0.3, nullptr), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_FALSE(drawer.lastStillThere());
    EXPECT_EQ(SvgDrawerClient(0.3, drawer.path).renderPNG("<svg/>", 16, 60, nullptr), std::nullopt);
    EXPECT_FALSE(drawer.lastStillThere());

    // Shutting down answers a waiting caller at once and every later one.
    auto hold = std::make_shared<int>();
    const std::weak_ptr<int> held = hold;
    auto caller = std::async(std::launch::async, [&] { return renderer.renderPNG("<svg/>", 16, 60, hold); });
    hold.reset();
    for (int wait = 0; wait < 3000 && !drawer.lastStillThere(); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    renderer.shutDown();
    // At once, not after the caller's 60 s: the bound lies far from both.
    ASSERT_EQ(caller.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(caller.get(), std::nullopt);
    EXPECT_FALSE(drawer.lastStillThere());
    // The hold went with the drawing.
    EXPECT_TRUE(held.expired());
    EXPECT_EQ(renderer.renderPNG("<svg/>", 16, 60, nullptr), std::nullopt);
}

// A website's drawing, cleaned and drawn as the program draws it, opens no
// file: neither a picture on disk nor a FIFO that would stall its reader.
TEST(SvgDrawerClient, ACleanedDrawingOpensNoFile) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string picture = folder.filePath("secret.png").toStdString();
    const std::string fifo = folder.filePath("fifo").toStdString();
    QImage red(8, 8, QImage::Format_ARGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(QString::fromStdString(picture)));
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const testsupport::OpenWatch watch(folder.path().toStdString(), IN_OPEN);
    ASSERT_TRUE(watch.watching()) << watch.problem;

    SvgDrawerClient renderer(1, RONDELIX_SVG_DRAWER);
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
            renderer.renderPNG(*cleaned, 16, 1, nullptr);
        }

    // Opening the FIFO's writing end without waiting works only while
    // something has it open for reading.
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    const int openError = errno;
    if (writer >= 0) ::close(writer); // frees a stalled reader
    EXPECT_LT(writer, 0);
    EXPECT_EQ(openError, ENXIO);
    EXPECT_FALSE(watch.touched()) << "a file in the folder was opened";
}

TEST(QtImages, NeitherWebsiteNorChosenPicturesAreReadAsDrawings) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    const std::string drawing =
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16"><rect width="16" height="16"/></svg>)";
    for (const auto readers : {QtImages::Readers::namedRasters, QtImages::Readers::anyButDrawings}) {
        EXPECT_EQ(QtImages(readers).declaredSize(drawing), std::nullopt);
        EXPECT_EQ(QtImages(readers).drawnAsPNG(drawing, 16, 16), std::nullopt);
    }
}

} // namespace
} // namespace rondelix::platform::linux_desktop
