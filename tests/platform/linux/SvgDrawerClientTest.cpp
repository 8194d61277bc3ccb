#include "platform/linux/process/SvgDrawerClient.h"

#include "DesktopApplication.h"
#include "icons/FaviconSvgCleaner.h"
#include "platform/linux/process/DrawerDrawings.h"
#include "platform/linux/qt/QtImages.h"
#include "support/OpenWatch.h"
#include "support/Patience.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
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
#include <vector>

namespace rondelix::platform::linux_desktop {
namespace {

constexpr std::chrono::duration<double> patience(testing::patience);

QImage decoded(const std::optional<std::string>& png) {
    if (!png) return {};
    return QImage::fromData(reinterpret_cast<const uchar*>(png->data()), static_cast<int>(png->size()),
                            "PNG");
}

TEST(SvgDrawerClient, FitsTheDrawingCentredInATransparentSquare) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    SvgDrawerClient drawer(SvgDrawerClient::watchdogSeconds, RONDELIX_SVG_DRAWER);
    DrawerDrawings renderer(drawer);
    const QImage wide = decoded(renderer.renderPNG(
        R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 200 100"><rect width="200" height="100" fill="#f00"/></svg>)",
        128, 6, {}));
    ASSERT_EQ(wide.size(), QSize(128, 128));
    EXPECT_EQ(wide.pixelColor(64, 64), QColor(Qt::red));
    EXPECT_EQ(wide.pixelColor(2, 64), QColor(Qt::red));
    // A 2:1 drawing leaves a quarter of the square clear above and below.
    EXPECT_EQ(wide.pixelColor(64, 16).alpha(), 0);
    EXPECT_EQ(wide.pixelColor(64, 111).alpha(), 0);

    EXPECT_EQ(renderer.renderPNG("<svg", 128, 6, {}), std::nullopt);
    EXPECT_EQ(renderer.renderPNG("not a drawing at all", 128, 6, {}), std::nullopt);
}

// A drawer that never answers, standing in for a drawing that never ends:
// it notes its process and waits. Asked "quick", it answers at once.
struct StuckDrawer {
    StuckDrawer() {
        std::ofstream(path) << "#!/bin/sh\necho $$ > '" << folder.filePath("pid").toStdString()
                            << "'\necho $$ >> '" << folder.filePath("started").toStdString()
                            << "'\n[ \"$1\" = quick ] && exec printf answer\nexec sleep 60\n";
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    }
    // Whether the last drawer started is still there, reaped or not.
    bool lastStillThere() const {
        std::ifstream file(folder.filePath("pid").toStdString());
        pid_t pid = 0;
        return file >> pid && ::kill(pid, 0) == 0;
    }
    // How many drawers have started, and how many of them are still there.
    int starts() const { return static_cast<int>(started().size()); }
    int stillThere() const {
        return static_cast<int>(
            std::ranges::count_if(started(), [](pid_t pid) { return ::kill(pid, 0) == 0; }));
    }
    std::vector<pid_t> started() const {
        std::ifstream file(folder.filePath("started").toStdString());
        std::vector<pid_t> pids;
        for (pid_t pid = 0; file >> pid;)
            pids.push_back(pid);
        return pids;
    }
    QTemporaryDir folder;
    std::string path = folder.filePath("drawer").toStdString();
};

TEST(SvgDrawerClient, NoDrawingOutlivesItsTimeItsCallerOrTheRenderer) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    StuckDrawer drawer;
    SvgDrawerClient client(60, drawer.path);
    DrawerDrawings renderer(client);
    // The caller's time, or the renderer's own watchdog, whichever is shorter.
    // The time is what is tested: the caller's 0.3 s, not the watchdog's 60;
    // the bound lies far from both.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(renderer.renderPNG("<svg/>", 16, 0.3, {}), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - start, patience);
    EXPECT_FALSE(drawer.lastStillThere());
    SvgDrawerClient watched(0.3, drawer.path);
    EXPECT_EQ(DrawerDrawings(watched).renderPNG("<svg/>", 16, 60, {}), std::nullopt);
    EXPECT_FALSE(drawer.lastStillThere());

    // Shutting down answers a waiting caller at once and every later one.
    std::weak_ptr<const void> held;
    bool asked = false;
    const Admission admission([&] {
        auto hold = std::make_shared<int>();
        held = hold;
        asked = true;
        return hold;
    });
    auto caller =
        std::async(std::launch::async, [&] { return renderer.renderPNG("<svg/>", 16, 60, admission); });
    for (int wait = 0; wait < 3000 && !drawer.lastStillThere(); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    client.shutDown();
    // At once, not after the caller's 60 s: the bound lies far from both.
    ASSERT_EQ(caller.wait_for(patience), std::future_status::ready);
    EXPECT_EQ(caller.get(), std::nullopt);
    EXPECT_FALSE(drawer.lastStillThere());
    // The admission's hold, taken before the drawer started, went with the drawing.
    EXPECT_TRUE(asked);
    EXPECT_TRUE(held.expired());
    EXPECT_EQ(renderer.renderPNG("<svg/>", 16, 60, {}), std::nullopt);
}

// While other callers' drawings hold every drawer, a caller waits for one
// without its time running: once a drawer is free, it is answered. Its
// admission is asked only then, and a wait there counts against its time
// no more.
TEST(SvgDrawerClient, TheWaitForADrawerOrAnAdmissionCountsAgainstNoCallersTime) {
    StuckDrawer drawer;
    SvgDrawerClient client(60, drawer.path);
    std::vector<std::future<std::optional<std::string>>> holding;
    for (std::size_t i = 0; i < SvgDrawerClient::drawersAtOnce; ++i)
        holding.push_back(std::async(std::launch::async, [&] { return client.answer({"hold"}, "", 1.5); }));
    for (int wait = 0; wait < 3000 && drawer.starts() < static_cast<int>(holding.size()); ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    int drawersAtAdmission = -1;
    const Admission admission([&] {
        drawersAtAdmission = drawer.stillThere();
        // Standing for a wait for pixels that others hold, longer than the caller's time.
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        return std::make_shared<int>();
    });
    // The time is what is tested: this caller's half second is over long
    // before a drawer comes free, a second and a half later.
    EXPECT_EQ(client.answer({"quick"}, "", 0.5, nullptr, admission), "answer");
    EXPECT_LT(drawersAtAdmission, static_cast<int>(holding.size())) << "asked while every drawer was held";
    for (auto& held : holding)
        EXPECT_EQ(held.get(), std::nullopt);
}

// An account's drawers are stopped once they have used its budget, and then
// it gets no drawer at all; other callers still do.
TEST(SvgDrawerClient, AnAccountGetsNoMoreDrawerTimeThanItsBudget) {
    StuckDrawer drawer;
    SvgDrawerClient client(60, drawer.path);
    const auto account = std::make_shared<FairTurns::Account>(FairTurns::Account{1});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.answer({"hold"}, "", 60, account), std::nullopt);
    // The budget's second, not the caller's sixty: the bound lies far from both.
    EXPECT_LT(std::chrono::steady_clock::now() - start, patience);
    EXPECT_GE(account->spent, 1);
    const int started = drawer.starts();
    EXPECT_EQ(client.answer({"quick"}, "", 60, account), std::nullopt);
    EXPECT_EQ(drawer.starts(), started);
    EXPECT_EQ(client.answer({"quick"}, "", 60), "answer");
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

    SvgDrawerClient drawer(1, RONDELIX_SVG_DRAWER);
    DrawerDrawings renderer(drawer);
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
            renderer.renderPNG(*cleaned, 16, 1, {});
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
        EXPECT_EQ(QtImages(readers).drawnAsPNG(drawing, 16, 16, {}), std::nullopt);
    }
}

} // namespace
} // namespace rondelix::platform::linux_desktop
