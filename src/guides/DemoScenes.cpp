#include "engine/SummonFeedback.h"
#include "guides/DemoChoreography.h"
#include "model/WheelState.h"

#include <iterator>

namespace rondelix {

DemoChoreography::Steps DemoChoreography::script(const std::string& scene) {
    if (scene == "launch") return sceneLaunch();
    if (scene == "type") return sceneType();
    if (scene == "wheels") return sceneWheels();
    if (scene == "dark") return sceneDark();
    Steps all;
    const auto append = [&all](Steps scene) {
        all.insert(all.end(), std::make_move_iterator(scene.begin()), std::make_move_iterator(scene.end()));
    };
    append(sceneLaunch());
    all.push_back(pause(900));
    append(sceneType());
    all.push_back(pause(900));
    append(sceneWheels());
    all.push_back(pause(900));
    append(sceneDark());
    return all;
}

DemoChoreography::Steps DemoChoreography::sceneLaunch() {
    return {
        glideToScreenCenter(), pause(350), summon("demo-apps"), pause(550), sweepAim({1, 2}, 8), pause(300),
        fire("demo-apps", 2),  hide(),     pause(1200)};
}

// Run after the launch scene, this types into the notes application it
// opened; alone, into whichever program is in front.
DemoChoreography::Steps DemoChoreography::sceneType() {
    return {glideToScreenCenter(),
            summon("demo-notes"),
            pause(550),
            sweepAim({0}, 6),
            pause(250),
            fire("demo-notes", 0),
            hide(),
            pause(800),
            summon("demo-notes"),
            pause(500),
            sweepAim({1}, 6),
            pause(250),
            fire("demo-notes", 1),
            hide(),
            pause(900)};
}

// The open wheel changes its content twice, as switching wheels does.
DemoChoreography::Steps DemoChoreography::sceneWheels() {
    const auto switchTo = [this](std::string wheelId) {
        return act([this, wheelId] {
            s_.wheelState.setActiveWheelId(wheelId);
            s_.feedback.aim();
        });
    };
    return {glideToScreenCenter(),
            summon("demo-apps"),
            pause(650),
            switchTo("demo-media"),
            pause(750),
            switchTo("demo-system"),
            pause(750),
            hide(),
            pause(400)};
}

DemoChoreography::Steps DemoChoreography::sceneDark() {
    return {glideToScreenCenter(),
            summon("demo-system"),
            pause(550),
            sweepAim({0, 1}, 6),
            pause(300),
            fire("demo-system", 1),
            hide(),
            pause(2500)};
}

} // namespace rondelix
