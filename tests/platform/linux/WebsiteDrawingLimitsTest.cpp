#include "DesktopApplication.h"
#include "icons/FaviconFetch.h"
#include "platform/linux/process/DrawerDrawings.h"
#include "platform/linux/process/ThreadPoolBackground.h"
#include "platform/linux/qt/QtImages.h"
#include "platform/sim/SimHostResolver.h"
#include "platform/sim/SimHttpClient.h"
#include "platform/sim/SimMainQueue.h"
#include "support/Patience.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <mutex>
#include <optional>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

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

// A process's fields in /proc after its name: its state letter first; none
// once it is gone.
std::optional<std::vector<std::string>> processFields(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) return std::nullopt;
    std::istringstream rest(line.substr(line.rfind(')') + 2));
    std::vector<std::string> fields;
    for (std::string field; rest >> field;)
        fields.push_back(field);
    return fields;
}

bool ended(pid_t pid) {
    const auto fields = processFields(pid);
    return !fields || fields->front() == "Z" || fields->front() == "X";
}

double processorSeconds(pid_t pid) {
    const auto fields = processFields(pid);
    if (!fields || fields->size() < 13) return 0;
    return (std::stod((*fields)[11]) + std::stod((*fields)[12])) /
           static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// Whether every child this process started has ended (a zombie not yet
// reaped has).
bool childrenEnded() {
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream children(task.path() / "children");
        for (pid_t child = 0; children >> child;)
            if (!ended(child)) return false;
    }
    return true;
}

template <typename Condition> bool within(double seconds, Condition condition) {
    const auto start = Clock::now();
    while (!condition()) {
        if (secondsSince(start) > seconds) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// Tells, once, when a website's answer has been handed over whole.
struct DeliveryTold final : HttpClient {
    explicit DeliveryTold(HttpClient& inner) : inner(inner) {}
    End get(const Request& request, Sink& sink) override {
        const End end = inner.get(request, sink);
        std::call_once(told, [this] { delivered.set_value(); });
        return end;
    }
    HttpClient& inner;
    std::once_flag told;
    std::promise<void> delivered;
};

struct Website {
    explicit Website(const std::string& icon) {
        resolver.replies["example.com"] = {{"93.184.216.34"}};
        http.answers["https://example.com/favicon.ico"] = {200, "image/svg+xml", icon};
    }
    sim::SimHttpClient http;
    sim::SimHostResolver resolver;
    QtImages pictures{QtImages::Readers::anyButDrawings};
    sim::SimMainQueue clock;
};

TEST(WebsiteDrawingLimits, AFinelyDashedIconCostsNeitherMemoryNorTime) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    for (const int segments : {200, 180000}) {
        Website site(dashedDrawing(segments));
        SvgDrawerClient drawer(SvgDrawerClient::watchdogSeconds, RONDELIX_SVG_DRAWER);
        DrawerDrawings renderer(drawer);
        FaviconFetch fetch{{site.http, site.resolver, site.pictures, renderer, site.clock}};
        resetPeakMemory();
        const double resident = peakMemoryMiB();
        const auto start = Clock::now();
        EXPECT_EQ(fetch.resolve("example.com"), std::nullopt);
        const double seconds = secondsSince(start);
        const double grown = peakMemoryMiB() - resident;
        std::printf("%d segments (%zu bytes): no icon after %.2f s, peak memory grew %.0f MiB\n", segments,
                    dashedDrawing(segments).size(), seconds, grown);
        // The time is what is tested: refused before any drawing, the icon
        // costs a hundredth of a second, a drawing let through the watchdog's
        // six; the bound lies far from both.
        EXPECT_LT(seconds, 2) << segments;
        EXPECT_LT(grown, 100) << segments;
    }
}

TEST(WebsiteDrawingLimits, ADrawingPastTheWatchdogStopsAndKeepsItsMemoryToItself) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    SvgDrawerClient drawer(1, RONDELIX_SVG_DRAWER);
    DrawerDrawings renderer(drawer);
    resetPeakMemory();
    const double resident = peakMemoryMiB();
    const auto start = Clock::now();
    EXPECT_EQ(renderer.renderPNG(dashedDrawing(20000), 128, 6, {}), std::nullopt);
    // The time is what is tested: the watchdog's second, not the caller's
    // six; the bound lies between them, clear of a busy machine's delays.
    EXPECT_LT(secondsSince(start), 4);
    // Nothing draws on once the caller has its answer: the drawer, the one
    // process that draws, has ended.
    EXPECT_TRUE(within(30, childrenEnded)) << "a drawer draws on";
    const double grown = peakMemoryMiB() - resident;
    rusage drawers{};
    ::getrusage(RUSAGE_CHILDREN, &drawers);
    std::printf("after the watchdog: peak memory grew %.0f MiB, the largest drawer peaked at %.0f MiB\n",
                grown, static_cast<double>(drawers.ru_maxrss) / 1024);
    EXPECT_LT(grown, 100);
}

// The pool a program's website-icon searches run on, torn down as a quit
// tears it down while a search cleans a hostile drawing.
TEST(WebsiteDrawingLimits, AQuitWaitsAboutASecondAtMostOnAWebsiteDrawing) {
    ASSERT_NE(testing::desktopApplication(), nullptr);
    Website site(attributeBomb(60000));
    SvgDrawerClient drawer(SvgDrawerClient::watchdogSeconds, RONDELIX_SVG_DRAWER);
    DrawerDrawings renderer(drawer);
    DeliveryTold http(site.http);
    const auto shared = std::make_shared<FaviconFetch::Searches>();
    FaviconFetch fetch{{http, site.resolver, site.pictures, renderer, site.clock}, shared};
    Clock::time_point quit;
    {
        ThreadPoolBackground searches(4);
        searches.run([&] { fetch.resolve("example.com"); });
        // The drawing has come, and its cleaning begins.
        http.delivered.get_future().wait();
        quit = Clock::now();
        shared->closed = true;
        drawer.shutDown();
    }
    const double seconds = secondsSince(quit);
    std::printf("quit waited %.2f s on the search\n", seconds);
    // The time is what is tested: a quit leaves the cleaning at once rather
    // than waiting out the watchdog's six seconds; the bound lies far from
    // both.
    EXPECT_LT(seconds, 1.5);
}

// A program killed outright, as by the system's out-of-memory killer, while
// its drawer draws a drawing that would take the drawer to its processor cap.
TEST(WebsiteDrawingLimits, ADrawerEndsWithAProgramKilledWhileItDraws) {
    const std::string costly = dashedDrawing(180000);
    const pid_t program = ::fork();
    ASSERT_GE(program, 0);
    if (program == 0) {
        SvgDrawerClient drawer(SvgDrawerClient::watchdogSeconds, RONDELIX_SVG_DRAWER);
        DrawerDrawings(drawer).renderPNG(costly, 128, SvgDrawerClient::watchdogSeconds, {});
        ::_exit(0);
    }
    pid_t drawer = 0;
    const bool drawing = within(testing::patience, [&] {
        std::ifstream children("/proc/" + std::to_string(program) + "/task/" + std::to_string(program) +
                               "/children");
        // Past reading its drawing and starting its toolkit: drawing.
        return (drawer > 0 || children >> drawer) && processorSeconds(drawer) > 0.5;
    });
    ::kill(program, SIGKILL);
    ::waitpid(program, nullptr, 0);
    ASSERT_TRUE(drawing) << "no drawer drew";
    const auto killed = Clock::now();
    double spent = 0;
    const bool gone = within(testing::patience, [&] {
        // A drawer that has ended but is not yet reaped still tells its time.
        spent = std::max(spent, processorSeconds(drawer));
        return ended(drawer);
    });
    std::printf("the drawer ended %.2f s after its program, having drawn for %.2f s of processor time\n",
                secondsSince(killed), spent);
    // The processor time is what is tested, as a busy machine leaves it: the
    // drawer ends with its program, just past its first half second, not
    // once it has drawn on through the two seconds or more the drawing
    // takes; the bound lies between the two.
    EXPECT_TRUE(gone) << "the drawer outlived its program";
    EXPECT_LT(spent, 1.2) << "the drawer drew on after its program was killed";
    if (!gone) ::kill(drawer, SIGKILL);
}

} // namespace
} // namespace rondelix::platform::linux_desktop
