#include "EndToEndRig.h"

namespace rondelix::e2e {
namespace {

// The rows, from the window's top, of the orange band a window shows above
// its page while the configuration cannot be saved; empty when it shows none.
std::pair<int, int> warningBand(const std::string& id) {
    const QRect frame = windowFrame(id);
    const QImage screen = grabScreen();
    // Down the middle of the page area, right of the sidebar.
    const int x = frame.left() + 220 + (frame.width() - 220) / 2;
    int first = -1, last = -1;
    for (int y = frame.top(); y < frame.top() + 120 && y < screen.height(); ++y) {
        const QColor c = screen.pixelColor(x, y);
        const bool warm = c.red() - c.blue() > 20 && c.lightness() > 150;
        if (warm && first < 0) first = y;
        if (warm) last = y;
    }
    return {first < 0 ? -1 : first - frame.top(), last < 0 ? -1 : last - frame.top()};
}

// Waits for the band above the page and keeps a picture of the window;
// answers how far the band and the 10 points above it push the page down,
// or -1 when no band shows.
int warningBandShown(const std::string& id, const std::string& shot) {
    waitFor([&] { return warningBand(id).first >= 0; }, patience);
    stillScreen(windowFrame(id)).save(artifact(shot));
    const auto [top, bottom] = warningBand(id);
    return top < 0 ? -1 : bottom - top + 1 + 10;
}

// A configuration written by a newer build: the program uses it, the window
// says on every page that edits that nothing will be saved, and a wheel added
// from the gallery leaves the file exactly as it was.
TEST_F(EndToEnd, ANewerConfigurationSaysEditsAreNotSavedAndKeepsItsFile) {
    nlohmann::json newer = nlohmann::json::parse(readFile(home.configFolder() / "config.json"));
    newer["version"] = 99;
    newer["fromTheFuture"] = {{"kept", true}};
    writeFile(home.configFolder() / "config.json", newer.dump(2));
    const std::string before = readFile(home.configFolder() / "config.json");

    Program program(home.path, "read-only");
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    EXPECT_TRUE(program.hasLine("running read-only")) << program.log();
    const int pushed = warningBandShown(id, "read-only-e2e-my-wheels.png");
    ASSERT_GE(pushed, 0) << "My Wheels shows no warning above the page";
    addFromGallery(id, "kaomoji", "read-only-e2e", pushed);
    if (HasFatalFailure()) return;
    // The toast tells the wheel was added for this run.
    const QImage sheet = grabScreen();
    EXPECT_TRUE(screenChanges(sheet, windowFrame(id))) << "the review sheet stayed";
    stillScreen(windowFrame(id)).save(artifact("read-only-e2e-added.png"));
    EXPECT_GE(warningBand(id).first, 0) << "the gallery shows no warning above the page";
    // Added for this run, as the toast says: after the four wheels of the file.
    summonWheelByNumber(4, program, "read-only-e2e-summoned.png", "read-only-e2e-kaomoji-summoned.png");
    EXPECT_EQ(readFile(home.configFolder() / "config.json"), before);
    EXPECT_FALSE(fs::exists(home.configFolder() / "config.json.bak"));
    EXPECT_EQ(program.stop(), 0);
    EXPECT_EQ(readFile(home.configFolder() / "config.json"), before);
}

// A configuration too large to read is the user's wheels all the same: the
// program runs on the backup, says on the pages that edit why nothing is
// saved, and a wheel added from the gallery leaves the file as it was.
TEST_F(EndToEnd, AConfigurationTooLargeToLoadIsKeptAndTheWindowSaysWhy) {
    const auto configFile = home.configFolder() / "config.json";
    fs::copy_file(configFile, home.configFolder() / "config.json.bak");
    // A byte past the most the program reads, in a hole the disk does not hold.
    fs::resize_file(configFile, maxConfigFileBytes + 1);
    const auto before = fileIdentity(configFile);

    Program program(home.path, "too-large");
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    EXPECT_TRUE(program.hasLine("config.json is too large to load")) << program.log();
    const int pushed = warningBandShown(id, "too-large-e2e-my-wheels.png");
    ASSERT_GE(pushed, 0) << "My Wheels shows no warning above the page";
    addFromGallery(id, "kaomoji", "too-large-e2e", pushed);
    EXPECT_EQ(program.stop(), 0);
    EXPECT_EQ(fileIdentity(configFile), before);
    for (const auto& entry : fs::directory_iterator(home.configFolder()))
        EXPECT_FALSE(entry.path().filename().string().starts_with("config.corrupt-")) << entry.path();
}

// A configuration folder the user may not write in: every save would fail,
// so the program runs read-only, says why above the page, and leaves the
// folder as it was.
TEST_F(EndToEnd, AConfigFolderTheUserMayNotWriteRunsReadOnlyAndSaysWhy) {
    ASSERT_FALSE(output("command -v setpriv").empty()) << "needs setpriv (util-linux)";
    const auto folder = home.configFolder();
    const std::string config = readFile(folder / "config.json");
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    Program program(home.path, "unwritable-folder", {}, {}, {}, false, {}, boundByPermissions);
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    EXPECT_TRUE(program.hasLine("Rondelix: configuration folder " + folder.string() +
                                " is not writable (Permission denied) — running read-only."))
        << program.log();
    EXPECT_GE(warningBandShown(id, "unwritable-folder-e2e.png"), 0)
        << "My Wheels shows no warning above the page";
    EXPECT_EQ(program.stop(), 0);
    EXPECT_TRUE(readFile(folder / "config.json") == config);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2)
        << "config.json and defaults.json alone";
}

} // namespace
} // namespace rondelix::e2e
