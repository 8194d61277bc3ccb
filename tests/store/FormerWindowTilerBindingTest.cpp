#include "model/ConfigCoding.h"
#include "model/DefaultConfig.h"
#include "store/ConfigTransfer.h"
#include "support/StoreRig.h"
#include "support/TransferRig.h"

#include <gtest/gtest.h>

using namespace rondelix;
using namespace rondelix::testing;

namespace {

// The application each wheel was bound to, and the one it follows once read.
const std::vector<std::pair<std::optional<std::string>, std::optional<std::string>>> bindings{
    {"com.knollsoft.Rectangle", std::nullopt},
    {"com.knollsoft.Hookshot", std::nullopt},
    {"com.tinyspeck.slackmacgap", "com.tinyspeck.slackmacgap"},
    {"com.knollsoft.rectangle", "com.knollsoft.rectangle"},
    {std::nullopt, std::nullopt},
};

std::string fileWithBindings() {
    Config config = DefaultConfig::factoryConfig();
    config.wheels.clear();
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        Wheel wheel;
        wheel.id = "wheel-" + std::to_string(i);
        wheel.name = "Window Tiling " + std::to_string(i);
        wheel.appBundleIdentifier = bindings[i].first;
        config.wheels.push_back(wheel);
    }
    return writeConfigFile(config);
}

void expectMended(const Config& config) {
    ASSERT_EQ(config.wheels.size(), bindings.size());
    for (std::size_t i = 0; i < bindings.size(); ++i)
        EXPECT_EQ(config.wheels[i].appBundleIdentifier, bindings[i].second) << i;
}

} // namespace

// The gallery once bound its window wheel to another system's window tiler.
// Loaded, such a wheel follows no application; a wheel bound to any other
// program keeps it, and the file is written only by the next save.
TEST(ConfigStoreLoad, TheFormerGallerysWindowWheelFollowsNoApplicationWithoutARewrite) {
    StoreRig rig;
    const std::string file = fileWithBindings();
    writeText(rig.paths.config, file);
    auto store = rig.open();
    expectMended(store->config());
    EXPECT_TRUE(readText(rig.paths.config) == file);

    // The file read again is the value held: nothing to adopt.
    rig.watcher.fire(platform::FileWatcher::Change::modified);
    rig.queue.advance(1.0);
    EXPECT_TRUE(rig.log.lines().empty());
    setWheelSize(*store, 300);
    EXPECT_EQ(rig.onDisk(), store->config());
}

TEST(ConfigImport, TheFormerGallerysWindowWheelFollowsNoApplication) {
    TransferRig rig;
    const auto file = rig.home.path / "moved.json";
    writeText(file, fileWithBindings());
    rig.dialogs.filesToOpen.push_back(file);
    ConfigTransfer(rig.services()).importConfig();
    expectMended(rig.store->config());
}
