// My Wheels and the Wheel Gallery by keyboard and pointer: what they add is
// kept in the file and opens with the summon.

#include "EndToEndRig.h"
#include "store/ConfigStore.h"

namespace rondelix::e2e {
namespace {

TEST_F(EndToEnd, MyWheelsAddsRenamesAndFillsAWheelThatTheFileKeepsAndTheSummonOpens) {
    writeFile(home.path / ".local/share/applications/org.example.Atlas.desktop",
              "[Desktop Entry]\nType=Application\nName=Atlas\nExec=true\n");
    Program program(home.path, "editor");
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    const auto field = restingWheelNameField(id);
    ASSERT_TRUE(field) << "no wheel card";
    const QRect frame = windowFrame(id);
    ASSERT_GT(frame.width(), 900);
    // Each step waits for what it did to show, in the file or on screen: a
    // menu or dialog takes the keys only once it is up.
    const auto fileShows = [&](const std::function<bool(const Wheel&)>& check) {
        return waitFor(
            [&] {
                const auto config = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
                return config && std::any_of(config->wheels.begin(), config->wheels.end(), check);
            },
            patience);
    };

    clickAt(*field);
    // Back from the name field: the preview, the pills, Export, Import, then
    // Add Wheel (undo and redo wait disabled).
    xdotool("key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab space");
    ASSERT_TRUE(fileShows([](const Wheel& w) { return w.name == "Wheel 5"; })) << program.log();
    stillScreen(frame); // the new wheel's card
    clickAt(*field);
    xdotool("key ctrl+a");
    xdotool("type --delay 20 'Trip Planner'");
    // Ctrl+Z is the editor's, not the text field's or the Edit menu's: the
    // whole burst of typing goes back in one step, and comes again.
    const auto nameOnDisk = [&](const std::string& name) {
        return fileShows([&](const Wheel& w) { return w.name == name; });
    };
    const auto tripPlanner = [&](const std::function<bool(const Wheel&)>& check) {
        return fileShows([&](const Wheel& w) { return w.name == "Trip Planner" && check(w); });
    };
    ASSERT_TRUE(nameOnDisk("Trip Planner")) << program.log();
    // Edits that follow each other within the coalescing window join one
    // undo step, and only the clock tells when it has passed: the typing is
    // left that long before the undo, as a person pausing leaves it.
    std::this_thread::sleep_for(std::chrono::duration<double>(ConfigStore::coalesceWindow * 1.2));
    xdotool("key ctrl+z");
    EXPECT_TRUE(nameOnDisk("Wheel 5"));
    xdotool("key ctrl+shift+z");
    EXPECT_TRUE(nameOnDisk("Trip Planner"));
    // On to the slot count, then the app menu's "Choose App…", where the
    // search finds the application the home folder has an entry for.
    xdotool("key Tab 6");
    ASSERT_TRUE(tripPlanner([](const Wheel& w) { return w.sliceCount == 6; })) << program.log();
    const std::set<std::string> windowsBefore = windowsOf(program);
    xdotool("key Tab space");
    ASSERT_FALSE(newWindowOf(program, windowsBefore).empty()) << "no app menu";
    xdotool("key Down Down Return");
    const std::string chooser = windowNamed("Choose App");
    ASSERT_FALSE(chooser.empty()) << "no app chooser";
    const QRect chooserFrame = windowFrame(chooser);
    const QImage unsearched = stillScreen(chooserFrame);
    xdotool("type --delay 20 Atlas");
    // The search has found the application once the list shows it alone.
    EXPECT_TRUE(screenChanges(unsearched, chooserFrame)) << "the search showed nothing";
    stillScreen(chooserFrame).save(artifact("editor-e2e-app-chooser.png"));
    xdotool("key Return");
    ASSERT_TRUE(tripPlanner([](const Wheel& w) { return w.appBundleIdentifier == "org.example.Atlas"; }));
    // Past Duplicate and Delete to the empty top slot's Add Action.
    xdotool("key Tab Tab Tab space");
    EXPECT_TRUE(tripPlanner([](const Wheel& w) { return !w.slices.empty(); }));
    grabScreen().save(artifact("editor-e2e-edited.png"));
    // The window has the keys back once the chooser closed, with no window
    // manager to hand them over.
    xdotool("key ctrl+w");
    EXPECT_TRUE(waitFor([] { return mainWindowId().empty(); }, patience));

    const auto onDisk = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
    ASSERT_TRUE(onDisk);
    const auto added = std::find_if(onDisk->wheels.begin(), onDisk->wheels.end(),
                                    [](const Wheel& w) { return w.name == "Trip Planner"; });
    ASSERT_NE(added, onDisk->wheels.end()) << program.log();
    EXPECT_EQ(added->id.rfind("wheel-", 0), 0u);
    EXPECT_EQ(added->sliceCount, 6);
    EXPECT_EQ(added->appBundleIdentifier, "org.example.Atlas");
    ASSERT_EQ(added->slices.size(), 1u);
    EXPECT_EQ(added->slices[0].position, 0);
    EXPECT_EQ(added->slices[0].label, "New Action");
    const auto index = static_cast<int>(added - onDisk->wheels.begin());
    ASSERT_LT(index, 9);

    // Summoned, the wheel's number key brings it up.
    summonWheelByNumber(index, program, "editor-e2e-summoned.png", "editor-e2e-new-wheel-summoned.png");
    EXPECT_EQ(program.stop(), 0);
}

TEST_F(EndToEnd, TheGalleryAddsAReviewedWheelThatTheSummonOpens) {
    Program program(home.path, "gallery");
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    addFromGallery(id, "kaomoji", "gallery-e2e");
    const auto kaomojiOnDisk = [&] {
        const auto config = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
        if (!config) return -1;
        for (std::size_t i = 0; i < config->wheels.size(); ++i)
            if (config->wheels[i].name == "Kaomoji") return static_cast<int>(i);
        return -1;
    };
    ASSERT_TRUE(waitFor([&] { return kaomojiOnDisk() >= 0; }, patience)) << program.log();
    stillScreen(windowFrame(id)).save(artifact("gallery-e2e-added.png"));

    // Summoned with the binding, the new wheel's number key brings it up.
    const int index = kaomojiOnDisk();
    ASSERT_LT(index, 9);
    summonWheelByNumber(index, program, "gallery-e2e-summoned.png", "gallery-e2e-kaomoji-summoned.png");
    EXPECT_EQ(program.stop(), 0);
}

} // namespace
} // namespace rondelix::e2e
