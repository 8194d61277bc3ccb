#pragma once

#include "model/Behavior.h"
#include "model/Config.h"
#include "platform/Geometry.h"
#include "platform/MainQueue.h"
#include "platform/Notifications.h"
#include "util/LifetimeGuard.h"
#include "util/Signal.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rondelix {

namespace platform {
class Log;
class Screens;
class UserDefaults;
} // namespace platform

class ConfigStore;
class OverlayController;
class SummonActions;
class SummonFeedback;
class WheelState;

// Plays a scripted demonstration on the real desktop for recording a video:
// it swaps the user's wheels for five demo wheels, glides the real pointer,
// opens the real wheel, aims and fires real slices, then puts the user's
// wheels back. Started by the Development page or by a notice from another
// program of the session (only while the Development page is unlocked).
//
// While a run lasts, the user's wheels also sit in a backup file, so that a
// run cut short by a crash is undone at the next start. Main thread only.
class DemoChoreography final {
  public:
    struct Services {
        ConfigStore& store;
        WheelState& wheelState;
        OverlayController& overlay;
        SummonFeedback& feedback;
        SummonActions& actions;
        platform::MainQueue& queue;
        platform::Screens& screens;
        platform::Notifications& notifications;
        platform::UserDefaults& defaults;
        platform::Log& log;
        std::filesystem::path backupFile;
        std::function<bool()> devMenuUnlocked;
    };

    static constexpr const char* playNotification = "com.tovarel.Rondelix.demo.play";
    static constexpr const char* stopNotification = "com.tovarel.Rondelix.demo.stop";

    // Puts back the wheels of a run that never finished, then listens for
    // the play and stop notices.
    // How a pointer glide of the given length moves: about 90 warps a second,
    // never fewer than 4, each followed by the same wait.
    struct GlidePlan {
        int steps = 0;
        int intervalMs = 0;
        friend bool operator==(const GlidePlan&, const GlidePlan&) = default;
    };
    static GlidePlan glidePlan(double seconds);

    explicit DemoChoreography(Services services);
    ~DemoChoreography();
    DemoChoreography(const DemoChoreography&) = delete;
    DemoChoreography& operator=(const DemoChoreography&) = delete;

    bool isRunning() const { return isRunning_; }
    // Any name but "launch", "type", "wheels" and "dark" plays all four scenes.
    void play(const std::string& scene);
    // Ends the run at once, cleaning up before it returns; also what quitting
    // during a run does.
    void cancel();

    // Told when isRunning changes.
    Signal<> runningChanged;

  private:
    // One step of a run: an action, a wait on the main queue's clock, or a
    // step that decides its own steps when it is reached (a glide starts
    // wherever the pointer is by then).
    struct Step {
        std::function<void()> act;
        int waitMs = -1;
        std::function<std::vector<Step>()> unfold;
    };
    using Steps = std::vector<Step>;

    static Step act(std::function<void()> fn) { return {std::move(fn), -1, {}}; }
    static Step unfold(std::function<Steps()> fn) { return {{}, -1, std::move(fn)}; }

    void recoverInterruptedRun();
    bool setUp();
    void cleanUp();
    void removeBackupOnceRestored();
    void removeBackup();
    // A backup whose every wheel the configuration holds as it is keeps
    // nothing the configuration lacks: it goes, else it stays.
    void removeBackupIfRedundant(const std::vector<Wheel>& backedUp, const std::string& why);
    void runSteps(int run);

    // The scenes.
    Steps script(const std::string& scene);
    Steps sceneLaunch();
    Steps sceneType();
    Steps sceneWheels();
    Steps sceneDark();

    // The motion primitives the scenes are written in.
    static Step pause(int ms);
    Step glideCursor(platform::Point to, double seconds);
    Step glideToScreenCenter();
    Step glideToSlice(int position, int sliceCount);
    Step summon(const std::string& wheelId);
    Step sweepAim(std::vector<int> positions, int sliceCount);
    Step fire(const std::string& wheelId, int position);
    Step hide();

    Services s_;
    bool isRunning_ = false;
    bool hasTask_ = false;
    // Which run a deferred step belongs to; a step of an ended run does nothing.
    int run_ = 0;
    std::deque<Step> steps_;
    platform::ScopedCancel wait_;
    std::optional<Behavior::Position> savedPosition_;
    std::optional<std::vector<Wheel>> savedWheels_;
    std::optional<std::string> savedLastUsed_;
    std::vector<platform::Notifications::Token> observers_;
    // Deferred steps do nothing once the demo is gone.
    LifetimeGuard lifetime_;
};

} // namespace rondelix
