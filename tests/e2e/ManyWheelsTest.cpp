// My Wheels on a configuration of 100,000 wheels, in the built program: the
// main window comes up with the list and a pill far down it is picked and
// renamed by hand.

#include "EndToEndRig.h"

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

} // namespace
} // namespace rondelix
