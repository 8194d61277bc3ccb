#include "guides/DemoChoreography.h"

#include "files/FileAccess.h"
#include "guides/DemoBackup.h"
#include "guides/DemoWheels.h"
#include "model/ConfigCoding.h"
#include "model/WheelState.h"
#include "overlay/OverlayController.h"
#include "platform/Log.h"
#include "platform/UserDefaults.h"
#include "store/ConfigStore.h"

#include <algorithm>
#include <ctime>
#include <utility>

namespace rondelix {

namespace {

// The user's position mode during a run, so that a run cut short can give it
// back: the backup file holds only the wheels.
constexpr platform::DefaultsKey<std::string> savedPositionKey{"demoSavedPosition"};
// The run whose backup is on disk: a start restores the backup only over the
// demo wheels of that run, never over demo wheels a file brought in later.
constexpr platform::DefaultsKey<std::string> backupRunKey{"demoBackupRun"};

// A demo wheel left on show gives way to the user's first wheel.
void leaveDemoWheel(WheelState& state, const Config& config) {
    if (!DemoWheels::isDemoId(state.activeWheelId())) return;
    state.setActiveWheelId(config.wheels.empty() ? "default" : config.wheels.front().id);
}

// The backed-up wheels in place of the demo wheels. A wheel of the user's own
// that is live beside them stays as it is, in the place of a backed-up wheel
// with its id or after the rest.
std::vector<Wheel> restoredWheels(const std::vector<Wheel>& backedUp, const std::vector<Wheel>& live) {
    std::vector<const Wheel*> own;
    for (const Wheel& wheel : live)
        if (!DemoWheels::isDemoId(wheel.id)) own.push_back(&wheel);
    const auto ownWithId = [&own](const std::string& id) {
        const auto found =
            std::find_if(own.begin(), own.end(), [&id](const Wheel* w) { return w->id == id; });
        return found == own.end() ? nullptr : *found;
    };
    std::vector<Wheel> wheels;
    for (const Wheel& wheel : backedUp) {
        const Wheel* kept = ownWithId(wheel.id);
        wheels.push_back(kept ? *kept : wheel);
    }
    for (const Wheel* wheel : own)
        if (std::none_of(backedUp.begin(), backedUp.end(),
                         [wheel](const Wheel& w) { return w.id == wheel->id; }))
            wheels.push_back(*wheel);
    return wheels;
}

} // namespace

DemoChoreography::DemoChoreography(Services services) : s_(std::move(services)) {
    recoverInterruptedRun();
    observers_.push_back(s_.notifications.observe(
        playNotification, [this, alive = lifetime_.watch()](const std::optional<std::string>& scene) {
            if (!alive || !s_.devMenuUnlocked()) return;
            play(scene.value_or("all"));
        }));
    observers_.push_back(s_.notifications.observe(
        stopNotification, [this, alive = lifetime_.watch()](const std::optional<std::string>&) {
            if (alive) cancel();
        }));
}

DemoChoreography::~DemoChoreography() {
    lifetime_.end();
    for (const auto token : observers_)
        s_.notifications.remove(token);
}

void DemoChoreography::play(const std::string& scene) {
    if (hasTask_) return;
    if (!setUp()) return;
    hasTask_ = true;
    const int run = ++run_;
    Steps steps = script(scene);
    steps_.assign(std::make_move_iterator(steps.begin()), std::make_move_iterator(steps.end()));
    isRunning_ = true;
    runningChanged.emit();
    s_.queue.post([this, alive = lifetime_.watch(), run] {
        if (alive) runSteps(run);
    });
}

void DemoChoreography::cancel() {
    if (!hasTask_) return;
    wait_.cancel();
    steps_.clear();
    cleanUp();
}

void DemoChoreography::runSteps(int run) {
    while (hasTask_ && run == run_ && !steps_.empty()) {
        Step step = std::move(steps_.front());
        steps_.pop_front();
        if (step.unfold) {
            Steps more = step.unfold();
            steps_.insert(steps_.begin(), std::make_move_iterator(more.begin()),
                          std::make_move_iterator(more.end()));
        } else if (step.waitMs >= 0) {
            wait_ = s_.queue.after(step.waitMs / 1000.0, [this, alive = lifetime_.watch(), run] {
                if (alive) runSteps(run);
            });
            return;
        } else {
            step.act();
        }
    }
    if (hasTask_ && run == run_) cleanUp();
}

// The backup is written and the values saved inside the change that swaps
// the wheels, so a reload of the file pending at that moment is taken in
// first and is what comes back after the run. Without a backup on disk the
// wheels are not swapped.
bool DemoChoreography::setUp() {
    Result<> backedUp;
    s_.store.mutate([&](Config& config) {
        std::vector<Wheel> demoWheels = DemoWheels::make();
        // Both in one write, before the backup: a backup on disk always has
        // its run's id beside it.
        {
            const platform::UserDefaults::Batch batch(s_.defaults);
            s_.defaults.set(backupRunKey, DemoWheels::runId(demoWheels).text());
            s_.defaults.set(savedPositionKey, std::string(toString(config.behavior.position)));
        }
        backedUp = DemoBackup::write(s_.backupFile, config.wheels);
        if (!backedUp.ok()) return;
        savedPosition_ = config.behavior.position;
        savedWheels_ = config.wheels;
        savedLastUsed_ = config.lastUsedWheelId;
        config.behavior.position = Behavior::Position::screenCenter;
        config.wheels = std::move(demoWheels);
        config.lastUsedWheelId = "demo-apps";
    });
    if (!backedUp.ok()) s_.log.write("demo not started — couldn't back up your wheels: " + backedUp.error());
    return backedUp.ok();
}

void DemoChoreography::cleanUp() {
    s_.overlay.hide();
    auto position = std::exchange(savedPosition_, std::nullopt);
    auto wheels = std::exchange(savedWheels_, std::nullopt);
    auto lastUsed = std::exchange(savedLastUsed_, std::nullopt);
    s_.store.mutate([&](Config& config) {
        if (position) config.behavior.position = *position;
        if (wheels) config.wheels = std::move(*wheels);
        if (lastUsed) config.lastUsedWheelId = std::move(*lastUsed);
    });
    removeBackupOnceRestored();
    leaveDemoWheel(s_.wheelState, s_.store.config());
    hasTask_ = false;
    steps_.clear();
    if (isRunning_) {
        isRunning_ = false;
        runningChanged.emit();
    }
}

// The backup goes only once the configuration file no longer holds the demo
// wheels: while a restore has not reached the disk, the backup is the only
// copy of the user's wheels there.
void DemoChoreography::removeBackupOnceRestored() {
    s_.store.writePendingSaves();
    const Result<std::string> file = readWholeFile(s_.store.paths().config);
    const auto onDisk = file.ok() ? decodeConfigBytes(file.value()) : std::nullopt;
    if (!onDisk || DemoWheels::anyDemoWheel(onDisk->wheels)) {
        s_.log.write("kept " + s_.backupFile.filename().string() +
                     ": the configuration file doesn't hold your wheels yet.");
        return;
    }
    removeBackup();
}

void DemoChoreography::removeBackup() {
    std::error_code ignored;
    std::filesystem::remove(s_.backupFile, ignored);
    const platform::UserDefaults::Batch batch(s_.defaults);
    s_.defaults.remove(savedPositionKey);
    s_.defaults.remove(backupRunKey);
}

// A run killed after its backup was written but before the configuration
// held the demo wheels leaves a backup of wheels that are all still in use.
void DemoChoreography::removeBackupIfRedundant(const std::vector<Wheel>& backedUp, const std::string& why) {
    const std::string name = s_.backupFile.filename().string();
    const auto& wheels = s_.store.config().wheels;
    const bool redundant = std::ranges::all_of(
        backedUp, [&](const Wheel& wheel) { return std::ranges::find(wheels, wheel) != wheels.end(); });
    if (!redundant) {
        s_.log.write(name + " found, but " + why + " — kept it as it is.");
        return;
    }
    removeBackup();
    s_.log.write("removed " + name + ": your configuration holds every wheel in it.");
}

// A run that ended without its clean-up (the program was killed) left the
// demo wheels live and the user's wheels in the backup. They come back as the
// clean-up would have brought them; a backup that cannot be trusted is set
// aside and never replaces anything.
void DemoChoreography::recoverInterruptedRun() {
    const DemoBackup::Read backup = DemoBackup::read(s_.backupFile);
    const std::string name = s_.backupFile.filename().string();
    switch (backup.outcome) {
    case DemoBackup::Read::Outcome::missing:
        return;
    case DemoBackup::Read::Outcome::damaged: {
        const auto aside = setAside(s_.backupFile, static_cast<std::int64_t>(std::time(nullptr)));
        s_.log.write(name + " is unusable (" + backup.reason + ") — " +
                     (aside ? "set aside as " + aside->filename().string() : std::string("left in place")) +
                     "; the wheels were not changed.");
        return;
    }
    case DemoBackup::Read::Outcome::wheels:
        break;
    }
    if (!DemoWheels::anyDemoWheel(s_.store.config().wheels)) {
        removeBackupIfRedundant(backup.wheels, "no demo wheel is in use");
        return;
    }
    // Demo wheels of another run (a file saved during one and opened since)
    // say nothing about this backup, which may be older than the user's wheels.
    const auto run = Uuid::parse(s_.defaults.get(backupRunKey).value_or(""));
    if (!run || !DemoWheels::carriesRun(s_.store.config().wheels, *run)) {
        removeBackupIfRedundant(backup.wheels, "the demo wheels in use are not from its run");
        return;
    }
    const auto savedPosition = positionFromString(s_.defaults.get(savedPositionKey).value_or(""));
    s_.store.mutate([&](Config& config) {
        if (savedPosition && config.behavior.position == Behavior::Position::screenCenter)
            config.behavior.position = *savedPosition;
        config.wheels = restoredWheels(backup.wheels, config.wheels);
        if (DemoWheels::isDemoId(config.lastUsedWheelId))
            config.lastUsedWheelId = config.wheels.empty() ? "default" : config.wheels.front().id;
    });
    removeBackupOnceRestored();
    leaveDemoWheel(s_.wheelState, s_.store.config());
    s_.log.write("restored your wheels from " + name + " after a demo that did not finish.");
}

} // namespace rondelix
