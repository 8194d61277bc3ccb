// Pictures carried in a shared wheel, and pictures left in the icons folder,
// whose files cost a decoder gigabytes though their pixels are few: the
// window shows their wheel at once and never decodes such a file itself.

#include "ChosenPictures.h"
#include "EndToEndRig.h"
#include "ProgramCosts.h"
#include "icons/Base64.h"
#include "icons/DrawnPng.h"
#include "store/SharedWheel.h"
#include "support/CostlyPictures.h"

namespace rondelix::e2e {
namespace {

// A 64 × 64 PNG of 176 kB carrying 60 compressed texts of 3 MB each: the
// drawer reads it within its limits, a reader that keeps its texts takes
// gigabytes.
std::string gigabytesOfTexts() {
    return testing::commentedPng(60, 64, 3'000'000);
}

long peakKiB(pid_t pid) {
    std::istringstream status(readFile("/proc/" + std::to_string(pid) + "/status"));
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

std::vector<std::string> storedIcons(const TestHome& home) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(home.configFolder() / "icons", ec))
        names.push_back(entry.path().filename().string());
    return names;
}

bool storedAsDrawn(const TestHome& home, const std::string& name) {
    return isDrawnPng(readFile(home.configFolder() / "icons" / name), 256);
}

// Gives the main wheel these slices' pictures, one a slot, so that the
// summon shows them; the configuration written.
void showOnTheMainWheel(const TestHome& home, const std::vector<std::string>& pictures) {
    Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    for (Wheel& wheel : config.wheels)
        for (Slice& slice : wheel.slices)
            if (wheel.id == "default" && slice.position < static_cast<int>(pictures.size()))
                slice.icon = Icon::CustomImage{pictures[static_cast<std::size_t>(slice.position)]};
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
}

// How long a summoned wheel took to show, how much the program's peak
// memory grew from the window's start, and how long its quit then took.
struct Showing {
    double seconds = 0;
    double grownMiB = 0;
    double quitSeconds = 0;
};

} // namespace

class CarriedPictures : public EndToEnd {
  protected:
    // Picks the file through the window's Import Wheel and agrees to its
    // review; false when a window did not come.
    bool confirmImport(Program& program, const Config& config, const std::string& id, const fs::path& file) {
        const QRect window = windowGeometry(id);
        stillScreen(window);
        const std::set<std::string> before = windowsOf(program);
        clickAt(buttonOnMyWheels(config, window, "Import Wheel"));
        const std::string chooser = newWindowOf(program, before);
        if (chooser.empty()) return false;
        xdotool("type --delay 10 '" + file.string() + "'");
        std::set<std::string> known = before;
        known.insert(chooser);
        xdotool("key Return");
        if (newWindowOf(program, known).empty()) return false;
        xdotool("key Return");
        return true;
    }

    // A shared wheel "Costly" of twenty pictures that the drawer gives up
    // on, each at its deadline or its memory cap.
    fs::path costlyWheel() const {
        const std::string costly = testing::commentedPng(250, 16, 3'000'000);
        SharedWheel shared;
        shared.wheel.id = "costly";
        shared.wheel.name = "Costly";
        shared.wheel.sliceCount = 12;
        for (int i = 0; i < 20; ++i) {
            const std::string name = Uuid::generate().text() + ".png";
            shared.icons[name] = Base64::encode(costly);
            if (i < 12)
                shared.wheel.slices.push_back(Slice{Uuid::generate(), i, "Slice " + std::to_string(i),
                                                    Icon{Icon::CustomImage{name}},
                                                    MacroAction::Text{"hello"}});
        }
        const fs::path file = home.path / "costly.rondix";
        writeFile(file, shared.fileBytes());
        return file;
    }

    bool hasWheelNamed(const std::string& name) const {
        const auto onDisk = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
        return onDisk && std::ranges::any_of(onDisk->wheels, [&](const Wheel& w) { return w.name == name; });
    }

    // Starts the program and summons the main wheel; `meanwhile` runs before
    // the program is stopped.
    Showing startAndSummon(const std::string& name, const std::function<void()>& meanwhile = {}) {
        xdotool("mousemove 1599 999");
        Program program(home.path, name);
        const std::string id = readyMainWindow(program);
        EXPECT_FALSE(id.empty()) << program.log();
        if (id.empty()) return {};
        const long resident = program.residentKiB();
        const QRect wheel = summonAt({800, 520}, name + "-summoned.png");
        EXPECT_GE(wheel.width(), 300) << program.log();
        Showing showing{shownAfter, static_cast<double>(peakKiB(program.pid()) - resident) / 1024};
        release();
        if (meanwhile) meanwhile();
        showing.quitSeconds = secondsToQuit(program);
        std::printf("[ measured ] %s: the wheel showed %.2f s after the summon; the peak grew %.1f MiB\n",
                    name.c_str(), showing.seconds, showing.grownMiB);
        return showing;
    }
};

// Twelve such pictures in a shared wheel, added through the import window,
// are stored as the drawer draws them; after a restart their wheel shows at
// once. So does a wheel whose picture was put into the icons folder as such
// a file, which is then drawn anew in its place.
TEST_F(CarriedPictures, APictureCostingGigabytesToDecodeShowsAtOnce) {
    const std::string costly = gigabytesOfTexts();
    SharedWheel shared;
    shared.wheel.id = "carried";
    shared.wheel.name = "Carried";
    shared.wheel.sliceCount = 12;
    for (int i = 0; i < 12; ++i) {
        const std::string name = Uuid::generate().text() + ".png";
        shared.icons[name] = Base64::encode(costly);
        shared.wheel.slices.push_back(Slice{Uuid::generate(), i, "Slice " + std::to_string(i),
                                            Icon{Icon::CustomImage{name}}, MacroAction::Text{"hello"}});
    }
    const fs::path file = home.path / "carried.rondix";
    writeFile(file, shared.fileBytes());
    const Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));

    {
        xdotool("mousemove 1599 999");
        Program program(home.path, "carried-import");
        const std::string id = readyMainWindow(program);
        ASSERT_FALSE(id.empty()) << program.log();
        ASSERT_TRUE(confirmImport(program, config, id, file));
        const auto added = Clock::now();
        // The wheel is added once its pictures are: the drawer reads each
        // one's texts within its limits, a few seconds on a busy machine.
        ASSERT_TRUE(waitFor([&] { return hasWheelNamed("Carried"); }, 4 * patience)) << program.log();
        std::printf("[ measured ] the wheel was added %.1f s after the review\n",
                    std::chrono::duration<double>(Clock::now() - added).count());
        EXPECT_EQ(program.stop(), 0);
    }
    std::vector<std::string> pictures = storedIcons(home);
    ASSERT_FALSE(pictures.empty());
    for (const std::string& name : pictures) {
        EXPECT_TRUE(shared.icons.contains(name)) << name;
        EXPECT_TRUE(storedAsDrawn(home, name)) << name;
    }
    pictures.resize(std::min<std::size_t>(pictures.size(), 8));
    showOnTheMainWheel(home, pictures);
    const Showing restored = startAndSummon("carried-restart");
    EXPECT_LT(restored.seconds, 1);
    EXPECT_LT(restored.grownMiB, 100);

    // A file left as it came, as an earlier build stored it.
    const std::string left = Uuid::generate().text() + ".png";
    writeFile(home.configFolder() / "icons" / left, costly);
    showOnTheMainWheel(home, {left});
    const Showing seeded = startAndSummon("carried-seeded", [&] {
        EXPECT_TRUE(waitFor([&] { return storedAsDrawn(home, left); }, patience))
            << "the file was not drawn anew";
    });
    EXPECT_LT(seeded.seconds, 1);
    EXPECT_LT(seeded.grownMiB, 100);
    for (const std::string& name : storedIcons(home))
        EXPECT_TRUE(storedAsDrawn(home, name)) << name;

    // A quit just after such a file is first shown, while it is being drawn
    // anew, ends the program at once.
    const std::string another = Uuid::generate().text() + ".png";
    writeFile(home.configFolder() / "icons" / another, costly);
    showOnTheMainWheel(home, {another});
    EXPECT_LT(startAndSummon("carried-quit").quitSeconds, 2);
}

// Twenty pictures in a shared wheel that the drawer gives up on, each at
// its deadline or its memory cap: all of them share one budget of drawing,
// so the wheel is added within seconds of the review, not after twenty
// deadlines; each picture left out is said to cost too much, not to be no PNG.
TEST_F(CarriedPictures, TheCostlyPicturesOfAWheelShareOneBudgetOfDrawing) {
    const fs::path file = costlyWheel();
    const Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));

    Program program(home.path, "costly-import");
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    ASSERT_TRUE(confirmImport(program, config, id, file));
    const auto added = Clock::now();
    // Twenty seconds of drawing and the last picture's start-up; not the
    // two minutes of twenty deadlines.
    ASSERT_TRUE(waitFor([&] { return hasWheelNamed("Costly"); }, 4 * patience)) << program.log();
    const double seconds = std::chrono::duration<double>(Clock::now() - added).count();
    std::printf("[ measured ] the wheel of twenty costly pictures was added %.1f s after the review\n",
                seconds);
    EXPECT_LT(seconds, 25);
    EXPECT_EQ(program.stop(), 0);

    const std::string log = program.log();
    std::size_t tooCostly = 0;
    for (auto at = log.find("takes longer to draw"); at != std::string::npos;
         at = log.find("takes longer to draw", at + 1))
        ++tooCostly;
    std::printf("[ measured ] %zu pictures said to take too long to draw, %zu stored\n", tooCostly,
                storedIcons(home).size());
    EXPECT_EQ(tooCostly + storedIcons(home).size(), 20u) << log;
    EXPECT_EQ(log.find("isn't a PNG icon"), std::string::npos) << log;
}

// The same wheel's restore, a few seconds in: its Cancel ends it at once;
// the summon shows a wheel meanwhile, and a quit ends the program at once;
// both keep the wheel, the pictures not yet drawn said to be dropped.
TEST_F(CarriedPictures, ACancelOrAQuitEndsARestoreAtOnceAndKeepsTheWheel) {
    const fs::path file = costlyWheel();
    const Config config = *decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    const auto underway = [&](Program& program, const std::string& id) {
        EXPECT_TRUE(confirmImport(program, config, id, file));
        std::this_thread::sleep_for(std::chrono::seconds(3));
        EXPECT_FALSE(hasWheelNamed("Costly")) << program.log();
    };

    Program cancelled(home.path, "cancelled-import");
    std::string id = readyMainWindow(cancelled);
    ASSERT_FALSE(id.empty()) << cancelled.log();
    underway(cancelled, id);
    const auto cancel = Clock::now();
    xdotool("key Escape");
    ASSERT_TRUE(waitFor([&] { return hasWheelNamed("Costly"); }, patience)) << cancelled.log();
    const double cancelSeconds = std::chrono::duration<double>(Clock::now() - cancel).count();
    std::printf("[ measured ] the wheel was added %.2f s after the Cancel\n", cancelSeconds);
    EXPECT_LT(cancelSeconds, 1);
    EXPECT_EQ(cancelled.stop(), 0);
    EXPECT_NE(cancelled.log().find("bundled icon restore was stopped"), std::string::npos) << cancelled.log();

    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
    Program quit(home.path, "quit-import");
    id = readyMainWindow(quit);
    ASSERT_FALSE(id.empty()) << quit.log();
    underway(quit, id);
    // Away from the modal, whose busy bar never stands still.
    const QRect wheel = summonAt({300, 720}, "summoned-during-a-restore.png");
    std::printf("[ measured ] during the restore a wheel showed %.2f s after the summon\n", shownAfter);
    EXPECT_GE(wheel.width(), 300) << quit.log();
    release();
    EXPECT_FALSE(hasWheelNamed("Costly"));
    EXPECT_LT(secondsToQuit(quit), 2);
    EXPECT_TRUE(hasWheelNamed("Costly"));
    EXPECT_NE(quit.log().find("bundled icon restore was stopped"), std::string::npos) << quit.log();
}

} // namespace rondelix::e2e
