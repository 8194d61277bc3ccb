#pragma once

#include "app/AppCoordinator.h"
#include "editor/SliceForm.h"
#include "support/CoordinatorRig.h"

#include <algorithm>
#include <optional>

namespace rondelix::testsupport {

// A slice form over the whole program's logic on the simulated platform,
// editing one slot of the factory main wheel, with the main window showing.
struct SliceFormRig {
    explicit SliceFormRig(int position = 0) {
        rig.open();
        rig.windows.bringForward(AppWindows::Kind::main);
        services.emplace(SliceFormServices{
            rig.c().configStore(), rig.workspace, rig.sounds, rig.dialogs, rig.images, rig.log,
            rig.background, rig.queue, rig.layout, rig.home.path / ".config/rondelix",
            KeystrokeCaptureHost{rig.c().hotkeyManager(),
                                 [this] {
                                     const auto main = rig.windows.state(AppWindows::Kind::main);
                                     return main.exists && main.visible && !main.miniaturized;
                                 },
                                 [this](bool on) { rig.c().isCapturingKeystroke = on; }},
            rig.c().automations(), [this] { ++setupsShown; }});
        form = std::make_unique<SliceForm>(*services, SliceSlot{"default", position});
    }

    ConfigStore& store() { return rig.c().configStore(); }
    const Wheel& wheel() {
        const auto& wheels = store().config().wheels;
        return *std::find_if(wheels.begin(), wheels.end(), [](const Wheel& w) { return w.id == "default"; });
    }
    void clearSlot(int position) {
        store().editWheels(std::nullopt, [&](std::vector<Wheel>& wheels) {
            for (Wheel& w : wheels)
                if (w.id == "default")
                    std::erase_if(w.slices, [&](const Slice& s) { return s.position == position; });
        });
    }

    CoordinatorRig rig;
    int setupsShown = 0;
    std::optional<SliceFormServices> services;
    std::unique_ptr<SliceForm> form;
};

} // namespace rondelix::testsupport
