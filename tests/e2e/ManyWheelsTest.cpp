// My Wheels on a configuration of 100,000 wheels, in the built program: the
// main window comes up with the list and a pill far down it is picked and
// renamed by hand.

#include "EndToEndRig.h"
#include "support/LargeConfigs.h"

namespace rondelix {
namespace {

using namespace e2e;

Config hundredThousandWheels() {
    Config config = DefaultConfig::factoryConfig();
    config.wheels.clear();
    for (int w = 0; w < 100000; ++w)
        config.wheels.push_back(
            Wheel{"wheel-" + std::to_string(w + 1),
                  "Wheel number " + std::to_string(w + 1),
                  8,
                  {Slice{Uuid::generate(), 0, "Notes", Icon{}, MacroAction::Text{"Thanks!"}}},
                  std::nullopt});
    config.lastUsedWheelId = "wheel-1";
    return config;
}

TEST_F(EndToEnd, AHundredThousandWheelsOpenInMyWheelsAndAPillDownTheListIsRenamed) {
    const Config config = hundredThousandWheels();
    writeFile(home.configFolder() / "config.json", writeConfigFile(config));
    Program program(home.path, "many-wheels");
    const std::string id = readyMainWindow(program);
    ASSERT_FALSE(id.empty()) << program.log();
    const QImage first = stillScreen(windowGeometry(id));
    first.save(artifact("many-wheels-e2e.png"));
    const QPoint pill = windowOrigin(id) + pillIn(config, "wheel-12", windowSize(id));
    clickAt(pill);
    // The inspector's card shows the chosen wheel.
    const QRect inspector = windowGeometry(id).adjusted(windowSize(id).width() - 450, 0, 0, 0);
    EXPECT_TRUE(screenChanges(first, inspector)) << "the pill chose no wheel";
    stillScreen(inspector);
    const auto field = wheelNameField(id);
    ASSERT_TRUE(field);
    clickAt(*field);
    xdotool("key ctrl+a");
    xdotool("type --delay 20 'Picked'");
    EXPECT_TRUE(waitFor(
        [&] {
            const auto onDisk = decodeConfigBytes(readFile(home.configFolder() / "config.json"));
            return onDisk && onDisk->wheels.size() == 100000u && onDisk->wheels[11].name == "Picked";
        },
        20))
        << program.log();
    grabScreen().save(artifact("many-wheels-e2e-renamed.png"));
    EXPECT_EQ(program.stop(), 0);
}

// Many wheels kept compactly by another program: a change writes them
// indented, about twice as large, and the next start reads that file whole.
TEST_F(EndToEnd, LargeConfigurationsSavedIndentedLoadWholeAtTheNextStart) {
    const auto configFile = home.configFolder() / "config.json";
    for (const auto& c : testing::largeConfigurations()) {
        SCOPED_TRACE(c.name);
        Config config = testing::withCopies(c.wheel, c.count);
        config.lastUsedWheelId = "copy-0";
        writeFile(configFile, testing::compacted(writeConfigFile(config)));
        const auto compactSize = fs::file_size(configFile);
        {
            Program program(home.path, "large-first");
            const std::string id = readyMainWindow(program);
            ASSERT_FALSE(id.empty()) << program.log();
            const auto field = restingWheelNameField(id);
            ASSERT_TRUE(field);
            clickAt(*field);
            xdotool("key End");
            xdotool("type --delay 20 ' kept'");
            EXPECT_TRUE(waitFor(
                [&] {
                    const auto onDisk = decodeConfigBytes(readFile(configFile));
                    return onDisk && onDisk->wheels.size() == config.wheels.size() &&
                           std::ranges::any_of(onDisk->wheels, [](const Wheel& wheel) {
                               return wheel.name.ends_with(" kept");
                           });
                },
                patience))
                << program.log();
            EXPECT_EQ(program.stop(), 0);
        }
        EXPECT_GT(fs::file_size(configFile), 64u << 20);
        const std::string saved = readFile(configFile);

        Program again(home.path, "large-again");
        ASSERT_FALSE(readyMainWindow(again).empty()) << again.log();
        const double readyAfter = std::chrono::duration<double>(Clock::now() - again.started).count();
        EXPECT_FALSE(again.hasLine("config load failed")) << again.log();
        stillScreen(windowGeometry(mainWindowId())).save(artifact("large-config-e2e-again.png"));
        std::printf("%s: %.1f MB compact, saved at %.1f MB, read whole at the next start, whose window was "
                    "up after %.2f s with %ld MB resident\n",
                    c.name, static_cast<double>(compactSize) / 1e6, static_cast<double>(saved.size()) / 1e6,
                    readyAfter, again.residentKiB() / 1024);
        EXPECT_EQ(again.stop(), 0);
        EXPECT_TRUE(readFile(configFile) == saved);
    }
}

} // namespace
} // namespace rondelix
