#include "settings/BindingRowModel.h"

#include "app/SettingsPorts.h"
#include "engine/HotkeyManager.h"
#include "settings/SummonBindings.h"
#include "support/CoordinatorRig.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;
using Kind = AppWindows::Kind;

// Feeds the recorder by hand: the engine passes extra mouse buttons in, and
// keys come from this monitor.
struct HandMonitor : KeyEventMonitor {
    static inline std::function<void(const MonitoredKeyEvent&)> handler;
    explicit HandMonitor(std::function<void(const MonitoredKeyEvent&)> h) { handler = std::move(h); }
    ~HandMonitor() override { handler = nullptr; }
};

class BindingRowModelTest : public ::testing::Test {
  protected:
    BindingRowModelTest() {
        rig.open();
        host = bindingsHost(rig.c());
    }
    // Replaces the bindings: each element gives keys and whether it is on.
    std::vector<Uuid> useBindings(const std::vector<std::pair<std::vector<int>, bool>>& bindings) {
        std::vector<Uuid> ids;
        rig.c().configStore().mutate([&](Config& c) {
            c.bindings.clear();
            for (const auto& [keys, on] : bindings) {
                ids.push_back(Uuid::generate());
                c.bindings.push_back({ids.back(), keys, 100, on});
            }
        });
        return ids;
    }
    std::unique_ptr<BindingRowModel> row(const Uuid& id) {
        return std::make_unique<BindingRowModel>(
            id,
            BindingRowModel::Services{rig.c().configStore(), rig.c().hotkeyManager(), rig.layout, host,
                                      [](auto h) { return std::make_unique<HandMonitor>(std::move(h)); }});
    }
    void hold(int modifierCode, std::uint64_t bit) {
        HandMonitor::handler({MonitoredKeyEvent::Type::flagsChanged, modifierCode, bit});
    }
    SummonBinding stored(const Uuid& id) {
        for (const auto& b : rig.c().configStore().config().bindings)
            if (b.id == id) return b;
        throw std::runtime_error("binding gone");
    }
    bool engineRecording() { return rig.c().hotkeyManager().recording(); }

    CoordinatorRig rig;
    std::shared_ptr<BindingsHost> host;
};

TEST_F(BindingRowModelTest, TheLastWorkingBindingCanBeNeitherSwitchedOffNorRemoved) {
    const auto ids = useBindings({{{58}, true}, {{56}, false}, {{}, true}});
    auto working = row(ids[0]);
    auto off = row(ids[1]);
    auto keyless = row(ids[2]);
    EXPECT_TRUE(working->isLastWorkingBinding());
    EXPECT_FALSE(off->isLastWorkingBinding());
    EXPECT_FALSE(keyless->isLastWorkingBinding()); // enabled, but it cannot summon
    EXPECT_EQ(keyless->comboLabel(), "None");

    working->setEnabled(false);
    working->remove();
    EXPECT_TRUE(stored(ids[0]).enabled);
    EXPECT_EQ(rig.c().configStore().config().bindings.size(), 3u);

    off->setEnabled(true);
    EXPECT_FALSE(working->isLastWorkingBinding());
    working->setEnabled(false);
    EXPECT_FALSE(stored(ids[0]).enabled);
    keyless->remove();
    working->remove();
    EXPECT_EQ(rig.c().configStore().config().bindings.size(), 1u);
    EXPECT_FALSE(off->showsRemove()); // a single binding shows no Remove at all
}

// A binding of more keys than two hands hold never summons, so it does not
// count: beside one, Alt+Super is still the last that works.
TEST_F(BindingRowModelTest, ABindingOfMoreKeysThanCanBeHeldLeavesTheOtherTheLastWorkingOne) {
    for (const int count : {10, 11}) {
        SCOPED_TRACE(count);
        std::vector<int> many;
        for (int code = 0; code < count; ++code)
            many.push_back(code);
        const auto ids = useBindings({{{58, 55}, true}, {many, true}});
        auto altSuper = row(ids[0]);
        const bool last = count > 10;
        EXPECT_EQ(altSuper->isLastWorkingBinding(), last);
        altSuper->setEnabled(false);
        altSuper->remove();
        EXPECT_EQ(rig.c().configStore().config().bindings.size(), last ? 2u : 1u);
    }
}

TEST_F(BindingRowModelTest, CollisionHints) {
    const std::pair<std::vector<int>, bool> cases[] = {
        {{96}, true}, {{55, 15}, true}, {{1000}, true}, {{58}, false}, {{105}, false}, {{55, 58, 106}, false},
    };
    for (const auto& [keys, collides] : cases) {
        const auto ids = useBindings({{keys, true}});
        EXPECT_EQ(row(ids[0])->showsCollisionHint(), collides) << keys.front();
    }
}

TEST_F(BindingRowModelTest, AddBindingAppendsAnEmptyOffBindingEachTime) {
    useBindings({{{58}, true}});
    addBinding(rig.c().configStore());
    addBinding(rig.c().configStore());
    const auto& bindings = rig.c().configStore().config().bindings;
    ASSERT_EQ(bindings.size(), 3u);
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_TRUE(bindings[i].keyCodes.empty());
        EXPECT_FALSE(bindings[i].enabled);
        EXPECT_EQ(bindings[i].holdThresholdMs, 100);
    }
    EXPECT_NE(bindings[1].id, bindings[2].id);
    EXPECT_FALSE(row(bindings[1].id)->showsHoldDelay());
}

TEST_F(BindingRowModelTest, RecordingAndConfirmingStoresTheKeysAndSwitchesTheBindingOn) {
    const auto ids = useBindings({{{58}, true}, {{56}, false}});
    auto r = row(ids[1]);
    r->toggleRecording();
    EXPECT_TRUE(engineRecording());
    EXPECT_EQ(r->comboLabel(), "Recording…");
    EXPECT_EQ(r->capturedLabel(), "Hold keys…");
    EXPECT_FALSE(r->showsCollisionHint());
    hold(55, ModifierFlag::leftCommand);
    rig.c().hotkeyManager().callbacks.onRecordingMouseButton(2, true); // as the engine passes it on
    EXPECT_EQ(r->recorder().captured(), (std::vector<int>{55, 1000}));
    EXPECT_TRUE(r->capturedMayCollide());
    r->recorder().confirm();
    EXPECT_FALSE(engineRecording());
    EXPECT_FALSE(host->activeRecorderStop);
    EXPECT_EQ(stored(ids[1]).keyCodes, (std::vector<int>{55, 1000}));
    EXPECT_TRUE(stored(ids[1]).enabled);
    EXPECT_TRUE(r->showsHoldDelay());
}

TEST_F(BindingRowModelTest, EveryWayOutOfARecordingLeavesTheEngineNormal) {
    const auto ids = useBindings({{{58}, true}, {{56}, true}});
    auto a = row(ids[0]);
    auto b = row(ids[1]);
    a->toggleRecording();
    hold(59, ModifierFlag::leftControl);
    b->toggleRecording(); // B's Record stops A without committing
    EXPECT_FALSE(a->recorder().isRecording());
    EXPECT_TRUE(b->recorder().isRecording());
    EXPECT_TRUE(engineRecording());
    EXPECT_EQ(stored(ids[0]).keyCodes, (std::vector<int>{58}));
    b->toggleRecording(); // Record again: stops without committing
    EXPECT_FALSE(engineRecording());
    a->toggleRecording();
    a.reset(); // the row goes away while recording
    EXPECT_FALSE(engineRecording());
    EXPECT_FALSE(host->activeRecorderStop);
    rig.c().hotkeyManager().callbacks.onRecordingMouseButton(
        2, true); // wired to a recorder that is gone: nothing
}

TEST_F(BindingRowModelTest, ARecordingOutlivingTheMainWindowEndsAtTheWatchdog) {
    const auto ids = useBindings({{{58}, true}});
    auto r = row(ids[0]);
    rig.c().showMain(MainTab::shortcuts);
    rig.windows.miniaturize(Kind::main);
    r->toggleRecording();
    rig.queue.advance(7);
    EXPECT_TRUE(r->recorder().isRecording()); // a minimized window keeps it alive
    rig.c().showMain(MainTab::shortcuts);
    rig.windows.userCloses(Kind::main);
    rig.queue.advance(1.1);
    EXPECT_FALSE(r->recorder().isRecording());
    EXPECT_FALSE(engineRecording());
}

TEST_F(BindingRowModelTest, HoldDelayAndWritesToABindingRemovedElsewhere) {
    const auto ids = useBindings({{{58}, true}, {{56}, true}});
    auto r = row(ids[1]);
    r->setHoldDelay(BindingRowModel::holdDelayScale.valueAt(50));
    EXPECT_EQ(stored(ids[1]).holdThresholdMs, 500);
    EXPECT_EQ(r->holdDelayText(), "500 ms");
    rig.c().configStore().mutate([&](Config& c) { c.bindings.pop_back(); });
    const Config before = rig.c().configStore().config();
    r->setHoldDelay(10);
    r->setEnabled(false);
    r->setKeyCodes({96});
    r->remove();
    EXPECT_EQ(rig.c().configStore().config(), before);
    EXPECT_FALSE(r->binding());
}

} // namespace
} // namespace rondelix
