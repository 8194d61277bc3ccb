#include "DesktopApplication.h"
#include "icons/FaviconFetch.h"
#include "platform/linux/QtImages.h"
#include "platform/linux/QtSvgRenderer.h"
#include "platform/linux/ThreadPoolBackground.h"
#include "platform/sim/SimHostResolver.h"
#include "platform/sim/SimHttpClient.h"
#include "platform/sim/SimMainQueue.h"

#include <chrono>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <thread>

namespace rondelix::platform::linux_desktop {
namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// A path of many short strokes, each cut into dashes far shorter than itself.
std::string dashedDrawing(int segments) {
    std::string d = "M50 50";
    for (int i = 0; i < segments; ++i)
        d += i % 2 ? "l-9 9" : "l9 -9";
    return R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 100 100"><path fill="none" stroke="#000" )"
           R"(stroke-width="30" stroke-dasharray="0.01" d=")" +
           d + R"("/></svg>)";
}

std::string attributeBomb(int attributes) {
    std::string svg = R"(<svg xmlns="http://www.w3.org/2000/svg")";
    for (int i = 0; i < attributes; ++i)
        svg += " a" + std::to_string(i) + "=\"\"";
    return svg + "/>";
}

// This process's peak resident memory since the last reset, in MiB.
void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}
double peakMemoryMiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024;
    return -1;
}
double cpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Website {
    explicit Website(const std::string& icon) {
        resolver.replies["example.com"] = {{"93.184.216.34"}};
        http.answers["https://example.com/favicon.ico"] = {200, "image/svg+xml", icon};
    }
    sim::SimHttpClient http;
    sim::SimHostResolver resolver;
    QtImages pictures{QtImages::Drawings::refused};
    sim::SimMainQueue clock;
};

TEST(WebsiteDrawingLimits, AFinelyDashedIconCostsNeitherMemoryNorTime) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    for (const int segments : {200, 180000}) {
        Website site(dashedDrawing(segments));
        QtSvgRenderer renderer(QtSvgRenderer::watchdogSeconds, RONDELIX_SVG_DRAWER);
        FaviconFetch fetch{{site.http, site.resolver, site.pictures, renderer, site.clock}};
        resetPeakMemory();
        const double resident = peakMemoryMiB();
        const auto start = Clock::now();
        EXPECT_EQ(fetch.resolve("example.com"), std::nullopt);
        const double seconds = secondsSince(start);
        const double grown = peakMemoryMiB() - resident;
        std::printf("%d segments (%zu bytes): no icon after %.2f s, peak memory grew %.0f MiB\n", segments,
                    dashedDrawing(segments).size(), seconds, grown);
        EXPECT_LT(seconds, 2) << segments;
        EXPECT_LT(grown, 100) << segments;
    }
}

TEST(WebsiteDrawingLimits, ADrawingPastTheWatchdogStopsAndKeepsItsMemoryToItself) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    QtSvgRenderer renderer(1, RONDELIX_SVG_DRAWER);
    resetPeakMemory();
    const double resident = peakMemoryMiB();
    const auto start = Clock::now();
    EXPECT_EQ(renderer.renderPNG(dashedDrawing(20000), 128, 6, nullptr), std::nullopt);
    EXPECT_LT(secondsSince(start), 2);
    // Nothing draws on once the caller has its answer.
    const double cpu = cpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const double spent = cpuSeconds() - cpu;
    const double grown = peakMemoryMiB() - resident;
    rusage drawers{};
    ::getrusage(RUSAGE_CHILDREN, &drawers);
    std::printf("after the watchdog: %.2f s of CPU in 1 s, peak memory grew %.0f MiB, the largest drawer "
                "peaked at %.0f MiB\n",
                spent, grown, static_cast<double>(drawers.ru_maxrss) / 1024);
    EXPECT_LT(spent, 0.3);
    EXPECT_LT(grown, 100);
}

// The pool a program's website-icon searches run on, torn down as a quit
// tears it down while a search cleans a hostile drawing.
TEST(WebsiteDrawingLimits, AQuitWaitsAboutASecondAtMostOnAWebsiteDrawing) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    Website site(attributeBomb(60000));
    QtSvgRenderer renderer(QtSvgRenderer::watchdogSeconds, RONDELIX_SVG_DRAWER);
    FaviconFetch fetch{{site.http, site.resolver, site.pictures, renderer, site.clock}};
    std::promise<void> searching;
    Clock::time_point quit;
    {
        ThreadPoolBackground searches(4);
        searches.run([&] {
            searching.set_value();
            fetch.resolve("example.com");
        });
        searching.get_future().wait();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        quit = Clock::now();
        fetch.shutDown();
        renderer.shutDown();
    }
    const double seconds = secondsSince(quit);
    std::printf("quit waited %.2f s on the search\n", seconds);
    EXPECT_LT(seconds, 1.5);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
