#include "store/ConfigMerge.h"

#include "model/DefaultConfig.h"

#include <gtest/gtest.h>

using namespace rondelix;

namespace {

std::vector<std::shared_ptr<const Wheel>> shared(const std::vector<Wheel>& wheels) {
    std::vector<std::shared_ptr<const Wheel>> all;
    for (const Wheel& wheel : wheels)
        all.push_back(std::make_shared<const Wheel>(wheel));
    return all;
}

Wheel named(std::string id) {
    Wheel wheel = DefaultConfig::mainWheel();
    wheel.id = id;
    wheel.name = std::move(id);
    return wheel;
}

} // namespace

// Both sides start from the same file: a, b, c, d, e.
TEST(ConfigMerge, EachWheelAndSettingComesFromTheSideThatChangedItAndFromTheProgramWhenBothDid) {
    Config base = DefaultConfig::factoryConfig();
    base.wheels = {named("a"), named("b"), named("c"), named("d"), named("e")};
    base.lastUsedWheelId = "a";
    Config program = base, file = base;

    program.wheels[0].name = "a here"; // only here
    file.wheels[1].name = "b there";   // only there
    program.wheels[2].name = "c here"; // on both sides
    file.wheels[2].name = "c there";
    file.wheels.erase(file.wheels.begin() + 3);              // d gone there
    program.wheels.erase(program.wheels.begin() + 4);        // e gone here
    file.wheels.insert(file.wheels.begin() + 1, named("x")); // new there, after a
    program.wheels.push_back(named("y"));                    // new here
    file.behavior.wheelSize = 400;                           // a setting changed on both sides
    program.behavior.opacity = 0.5;
    file.general.launchAtLogin = !base.general.launchAtLogin; // only there
    file.lastUsedWheelId = "b";

    Config merged = mergeOutsideChange(program, file, base, shared(base.wheels));
    std::vector<std::string> names;
    for (const Wheel& wheel : merged.wheels)
        names.push_back(wheel.name);
    EXPECT_EQ(names, (std::vector<std::string>{"a here", "x", "b there", "c here", "y"}));
    EXPECT_EQ(merged.behavior, program.behavior);
    EXPECT_EQ(merged.general.launchAtLogin, file.general.launchAtLogin);
    EXPECT_EQ(merged.lastUsedWheelId, "b");

    // The wheel chosen here holds while the file keeps it, and gives way once the file dropped it.
    program.lastUsedWheelId = "c";
    EXPECT_EQ(mergeOutsideChange(program, file, base, shared(base.wheels)).lastUsedWheelId, "c");
    program.lastUsedWheelId = "d";
    EXPECT_EQ(mergeOutsideChange(program, file, base, shared(base.wheels)).lastUsedWheelId, "b");
}
