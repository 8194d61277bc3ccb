// Pictures from outside that cost a decoder minutes, chosen for a slice and
// served as websites' icons, through the running program: they cost the
// program itself next to nothing, are refused, and hold up no quit.

#include "support/CostlyPictures.h"

#include "ChosenPictures.h"
#include "EndToEndRig.h"
#include "IconsOfColour.h"
#include "ProgramCosts.h"
#include "WebsiteNetwork.h"
#include "app/CommandLine.h"
#include "icons/Base64.h"

namespace rondelix::e2e {
namespace {

using testing::commentedPng;
using testing::filledPicture;
using testing::repeatedScanJpeg;

// A progressive JPEG within every size limit whose one scan of detail comes
// 36,000 times: a decoder that reads it all spends about a minute.
std::string minuteLongJpeg() {
    return repeatedScanJpeg(4096, 36000);
}

// A picture chosen with "Choose Image…" that costs minutes to decode costs
// the program next to nothing and is refused; a quit while another such
// picture is being decoded ends the program at once, and a second start
// meanwhile is not told to wait for a save that is not happening.
TEST_F(EndToEnd, AChosenPictureCostingMinutesIsRefusedAndHoldsNoQuit) {
    const fs::path scans = home.path / "scans.jpg";
    writeFile(scans, minuteLongJpeg());
    const fs::path comments = home.path / "comments.png";
    writeFile(comments, commentedPng(500));
    const Config config = withTopSliceAwaitingAPicture(home);

    xdotool("mousemove 1599 999");
    Program program(home.path, "costly-picture");
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    const QRect window = windowGeometry(id);
    stillScreen(window);
    const QPoint chooseButton = buttonOnMyWheels(config, window, "Choose Image…");
    const pid_t pid = program.pid();

    const double before = processorSeconds(pid);
    choosePicture(program, chooseButton, scans);
    EXPECT_TRUE(waitFor([&] { return refusalShownUnder(window, chooseButton); }, patience))
        << "the refusal was not told";
    const double spent = processorSeconds(pid) - before;
    std::printf("[ measured ] the program spent %.2f s of processor time on the picture\n", spent);
    // The time is what is tested: a picture's decoding may cost at most six
    // seconds, where decoding this one in the program costs about a minute.
    EXPECT_LT(spent, 6);
    stillScreen(window).save(artifact("costly-picture-refused.png"));
    EXPECT_EQ(topImage(home), "") << program.log();

    const double decoding = processorSecondsWithChildren(pid);
    choosePicture(program, chooseButton, comments);
    ASSERT_TRUE(waitFor([&] { return processorSecondsWithChildren(pid) - decoding > 0.5; }, patience))
        << "the second picture was not decoded";
    std::optional<Program> second;
    // The second start comes as soon as the first has given up its place.
    // The time is what is tested: a quit that waited for the decoding would
    // take it to its end, many seconds later.
    EXPECT_LT(secondsToQuit(program,
                            [&] {
                                waitFor([&] { return !fs::exists(home.path / "runtime/rondelix-instance"); },
                                        patience);
                                second.emplace(home.path, "costly-picture-second");
                            }),
              2);
    EXPECT_TRUE(second->waitForLine("Rondelix: ready.")) << second->log();
    EXPECT_EQ(second->stop(), 0);
    EXPECT_FALSE(second->hasLine(CommandLine::waitingForSaveText)) << second->log();
}

// The program's own limit of 50,000,000 pixels, and no other, decides which
// chosen pictures are too large.
TEST_F(EndToEnd, AChosenPictureIsStoredUpToTheProgramsPixelLimit) {
    const fs::path within = home.path / "within.png";
    writeFile(within, filledPicture(6000, 7000, Qt::darkCyan, "png"));
    const fs::path beyond = home.path / "beyond.png";
    writeFile(beyond, filledPicture(7100, 7100, Qt::darkCyan, "png"));
    withTopSliceAwaitingAPicture(home);

    xdotool("mousemove 1599 999");
    Program program(home.path, "large-picture");
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    const QRect window = windowGeometry(id);
    stillScreen(window);
    choosePicture(program, chooseImageButton(home, window), within);
    ASSERT_TRUE(waitFor([&] { return !topImage(home).value_or("").empty(); }, patience)) << program.log();
    const std::string stored = *topImage(home);
    EXPECT_EQ(QImage(QString::fromStdString((home.configFolder() / "icons" / stored).string()), "PNG").size(),
              QSize(219, 256));

    const QPoint chooseButton = chooseImageButton(home, window);
    choosePicture(program, chooseButton, beyond);
    EXPECT_TRUE(waitFor([&] { return refusalShownUnder(window, chooseButton); }, patience))
        << "the refusal was not told";
    stillScreen(window).save(artifact("large-picture-refused.png"));
    EXPECT_EQ(topImage(home), stored);
    EXPECT_EQ(program.stop(), 0);
}

constexpr QRgb pageCyan = 0xFF00E0E0;

// Four websites whose /favicon.ico costs minutes to decode and whose home
// page links an ordinary icon: each /favicon.ico is refused at once, so the
// linked icons show, having cost the program next to nothing.
TEST_F(EndToEnd, AWebsiteIconCostingMinutesIsRefusedAtOnce) {
    const std::string scans = minuteLongJpeg();
    QImage cyan(64, 64, QImage::Format_ARGB32);
    cyan.fill(QColor::fromRgba(pageCyan));
    const std::string page = "<html><head><link rel='icon' href='data:image/png;base64," +
                             Base64::encode(testing::encodedPicture(cyan, "png")) + "'></head></html>";
    const std::vector<std::string> hosts{"one.example", "two.example", "three.example", "four.example"};
    WebsiteNetwork::Sites sites;
    for (const auto& host : hosts)
        sites[host] = {{"/favicon.ico", {"image/jpeg", scans}}, {"/", {"text/html", page}}};
    WebsiteNetwork network(sites, home.path / "websites");
    if (!network.unavailable.empty()) GTEST_SKIP() << network.unavailable;

    giveTheDefaultWheelLinksTo(home, hosts);

    xdotool("mousemove 1599 999");
    Program program(home.path, "costly-websites", {}, {}, {}, false, {}, network.launcher());
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    const pid_t pid = program.pid();
    const double before = processorSeconds(pid);
    QImage shown;
    const bool arrived = waitFor(
        [&] {
            shown = grabWindow(id);
            return iconsOfColour(shown, pageCyan) == static_cast<int>(hosts.size());
        },
        patience);
    shown.save(artifact("costly-websites.png"));
    EXPECT_TRUE(arrived) << "the linked icons did not show";
    const double spent = processorSeconds(pid) - before;
    std::printf("[ measured ] the program spent %.2f s of processor time on four websites\n", spent);
    // The time is what is tested: at most six seconds a picture, where
    // decoding these in the program costs about a minute each.
    EXPECT_LT(spent, 6);
    EXPECT_LT(secondsToQuit(program), 2);
}

} // namespace
} // namespace rondelix::e2e
