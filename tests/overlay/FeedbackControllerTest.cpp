#include "overlay/FeedbackController.h"

#include "overlay/SystemSounds.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimSounds.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace rondelix;
using platform::Haptic;

namespace {

class FeedbackControllerTest : public ::testing::Test {
  protected:
    std::vector<int> playedInstances() const {
        std::vector<int> out;
        for (const auto& play : sounds.plays())
            out.push_back(play.instance);
        return out;
    }

    platform::sim::SimMainQueue queue;
    platform::sim::SimSounds sounds;
    Behavior behavior;
    FeedbackController feedback{[this] { return behavior; }, sounds, queue};
};

TEST_F(FeedbackControllerTest, ThrottlesAimFeedbackTo45Milliseconds) {
    feedback.aim();
    queue.advance(0.03);
    feedback.aim(); // too soon: no sound, no haptic
    EXPECT_EQ(sounds.plays().size(), 1u);
    EXPECT_EQ(sounds.haptics.size(), 1u);
    queue.advance(0.05);
    feedback.aim();
    EXPECT_EQ(sounds.plays().size(), 2u);
    EXPECT_EQ(sounds.haptics, (std::vector<Haptic>{Haptic::alignment, Haptic::alignment}));
}

TEST_F(FeedbackControllerTest, RotatesThroughAPoolOfSixCopies) {
    behavior.soundVolume = 0.4;
    for (int i = 0; i < 7; ++i) {
        feedback.aim();
        queue.advance(0.05);
    }
    // Instance 0 is the loaded original; the pool holds copies 1 to 6.
    EXPECT_EQ(playedInstances(), (std::vector<int>{1, 2, 3, 4, 5, 6, 1}));
    EXPECT_EQ(sounds.stops(), std::vector<int>{1}); // the first copy was still ringing
    EXPECT_DOUBLE_EQ(sounds.plays().back().volume, 0.4);

    // A new name rebuilds the pool from its start.
    sounds.available.push_back("Glass");
    behavior.aimSoundName = "Glass";
    feedback.aim();
    EXPECT_EQ(sounds.plays().back().name, "Glass");
    EXPECT_EQ(sounds.plays().back().instance, 8);
}

TEST_F(FeedbackControllerTest, FallsBackToTinkPopAndTheBeep) {
    behavior.aimSoundName = "Nowhere";
    behavior.fireSoundName = "Nowhere";
    feedback.aim();
    feedback.fire();
    ASSERT_EQ(sounds.plays().size(), 2u);
    EXPECT_EQ(sounds.plays()[0].name, "Tink");
    EXPECT_EQ(sounds.plays()[1].name, "Pop");
    feedback.preview("Nowhere");
    EXPECT_EQ(sounds.beeps, 1);

    // Neither sound exists: silence, and still the haptic.
    sounds.available.clear();
    behavior.aimSoundName = "Other";
    queue.advance(1);
    feedback.aim();
    EXPECT_EQ(sounds.plays().size(), 2u);
    EXPECT_EQ(sounds.haptics.size(), 3u);
}

TEST_F(FeedbackControllerTest, HapticsStayWhenSoundsAreOff) {
    behavior.soundEnabled = false;
    feedback.aim();
    feedback.fire();
    EXPECT_TRUE(sounds.plays().empty());
    EXPECT_EQ(sounds.haptics, (std::vector<Haptic>{Haptic::alignment, Haptic::levelChange}));
    // A preview plays anyway, and a second preview stops the first.
    feedback.preview("Pop");
    feedback.preview("Tink");
    EXPECT_EQ(sounds.plays().size(), 2u);
    EXPECT_EQ(sounds.stops().size(), 1u);
}

TEST_F(FeedbackControllerTest, FireRestartsItsSoundAndSkipsCopiesThatFail) {
    feedback.fire();
    feedback.fire();
    EXPECT_EQ(playedInstances(), (std::vector<int>{0, 0}));
    EXPECT_EQ(sounds.stops(), std::vector<int>{0});

    sounds.copiesThatSucceed = 3; // the original and two copies
    behavior.hapticsEnabled = false;
    for (int i = 0; i < 3; ++i) {
        feedback.aim();
        queue.advance(0.05);
    }
    EXPECT_EQ(playedInstances(), (std::vector<int>{0, 0, 2, 3, 2}));
}

TEST(SystemSounds, ListsEachSoundFileOnceSorted) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("rondelix-sounds-" + std::to_string(::getpid()));
    fs::create_directories(root / "system");
    fs::create_directories(root / "user");
    for (const char* file : {"system/Tink.wav", "system/Pop.AIFF", "system/readme.txt", "system/bell.oga",
                             "system/audio-channel-front-center.oga", "user/Tink.wav", "user/Zap.mp3",
                             "user/.wav", "user/alarm-clock-elapsed.oga"})
        std::ofstream(root / file) << "x";
    const auto names = SystemSounds::scan(
        {(root / "system").string(), (root / "missing").string(), (root / "user").string()});
    // One list by title, whatever the case: the theme's names among the program's.
    EXPECT_EQ(names, (std::vector<std::string>{"alarm-clock-elapsed", "audio-channel-front-center", "bell",
                                               "Pop", "Tink", "Zap"}));
    for (const auto& [name, title] :
         std::vector<std::pair<std::string, std::string>>{{"alarm-clock-elapsed", "Alarm Clock Elapsed"},
                                                          {"Tink", "Tink"},
                                                          {"dialog_warning", "Dialog Warning"}})
        EXPECT_EQ(SystemSounds::title(name), title);
    fs::remove_all(root);
}

} // namespace
