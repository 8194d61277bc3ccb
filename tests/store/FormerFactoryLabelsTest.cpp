#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "support/StoreRig.h"

#include <gtest/gtest.h>

using namespace rondelix;
using namespace rondelix::testing;

// The factory and the slice form once labelled the Night Light and Do Not
// Disturb slices in another system's words. Loaded, such a label reads in
// this desktop's words; a label the user wrote stays, and the file is
// written only by the next save.
TEST(ConfigStoreLoad, FactoryLabelsInAnotherSystemsWordsReadInThisDesktopsWithoutARewrite) {
    using A = MacroAction;
    const struct {
        std::string label;
        MacroAction action;
        std::string shown;
    } rows[] = {
        {"Toggle Night Shift", A::SystemAction{"night-shift"}, "Toggle Night Light"},
        {"Toggle Night Shift", A::Shortcut{"Toggle Night Shift"}, "Toggle Night Light"},
        {"Toggle Focus", A::Shortcut{"Toggle Focus"}, "Toggle Do Not Disturb"},
        {"Toggle Focus", A::SystemAction{"toggle-dnd"}, "Toggle Do Not Disturb"},
        // The user's own: another action, another spelling, another automation.
        {"Toggle Focus", A::Script{"focus-mode"}, "Toggle Focus"},
        {"toggle focus", A::Shortcut{"Toggle Focus"}, "toggle focus"},
        {"Toggle Night Shift", A::Shortcut{"Toggle Bluetooth"}, "Toggle Night Shift"},
        {"My Night Shift", A::SystemAction{"night-shift"}, "My Night Shift"},
    };
    Config config = DefaultConfig::factoryConfig();
    Wheel& wheel = config.wheels.front();
    wheel.slices.clear();
    wheel.sliceCount = static_cast<int>(std::size(rows));
    for (int i = 0; i < wheel.sliceCount; ++i)
        wheel.slices.push_back(Slice{Uuid::generate(), i, rows[i].label, Icon::None{}, rows[i].action});
    StoreRig rig;
    const std::string file = writeConfigFile(config);
    writeText(rig.paths.config, file);
    auto store = rig.open();
    for (int i = 0; i < wheel.sliceCount; ++i)
        EXPECT_EQ(store->config().wheels.front().slices.at(i).label, rows[i].shown) << i;
    EXPECT_TRUE(readText(rig.paths.config) == file);

    // The file read again is the value held: nothing to adopt.
    rig.watcher.fire(platform::FileWatcher::Change::modified);
    rig.queue.advance(1.0);
    EXPECT_TRUE(rig.log.lines().empty());
    setWheelSize(*store, 300);
    EXPECT_EQ(rig.onDisk(), store->config());
}
