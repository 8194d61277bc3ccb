#include "app/GuidesPorts.h"
#include "engine/PermissionsCheck.h"
#include "guides/OnboardingFlow.h"
#include "guides/OnboardingTexts.h"
#include "support/CoordinatorRig.h"

#include <gtest/gtest.h>
#include <memory>

namespace rondelix {
namespace {

namespace keys = DefaultsKeys;
using Step = OnboardingStep;
using testsupport::CoordinatorRig;

class OnboardingStepsTest : public ::testing::Test {
  protected:
    OnboardingStepsTest() { rig.open(); }
    void grant(bool accessibility, bool listen) {
        rig.permissions.accessibility = accessibility;
        rig.permissions.listen = listen;
        rig.c().permissions().refresh();
    }
    // The window's content, opened at a step and shown.
    OnboardingFlow& show(Step start) {
        OnboardingHost host = onboardingHost(rig.c());
        host.fire = [this] { ++fires; };
        flow = std::make_unique<OnboardingFlow>(std::move(host), start);
        flow->shown();
        return *flow;
    }
    int savedStep() { return rig.defaults.get(keys::onboardingResumeStep); }

    CoordinatorRig rig;
    std::unique_ptr<OnboardingFlow> flow;
    int fires = 0;
};

TEST_F(OnboardingStepsTest, FooterButtonsMoveBetweenStepsAndSaveEachAtOnce) {
    enum class Press { primary, skip, back };
    struct Case {
        Step start;
        bool granted;
        Press press;
        Step expected;
    };
    const Case cases[] = {
        {Step::welcome, true, Press::primary, Step::permissions},
        {Step::welcome, true, Press::skip, Step::ready},
        {Step::permissions, true, Press::primary, Step::ready},
        {Step::permissions, false, Press::primary, Step::permissions}, // Continue waits for both grants
        {Step::permissions, false, Press::skip, Step::ready},
        {Step::permissions, true, Press::back, Step::welcome},
        {Step::ready, true, Press::back, Step::permissions},
    };
    for (const auto& c : cases) {
        grant(c.granted, c.granted);
        auto& f = show(c.start);
        EXPECT_EQ(savedStep(), static_cast<int>(c.start)) << "saved before any click";
        if (c.press == Press::primary)
            f.primary();
        else if (c.press == Press::skip)
            f.skip();
        else
            f.back();
        EXPECT_EQ(f.step(), c.expected) << static_cast<int>(c.start) << "/" << static_cast<int>(c.press);
        EXPECT_EQ(savedStep(), static_cast<int>(c.expected));
    }
}

TEST_F(OnboardingStepsTest, DoneEndsSkippedExactlyWhenAGrantIsMissing) {
    for (const bool granted : {true, false}) {
        rig.defaults.set(keys::hasCompletedOnboarding, false);
        grant(granted, granted);
        show(Step::ready).primary();
        EXPECT_TRUE(rig.defaults.get(keys::hasCompletedOnboarding));
        EXPECT_EQ(rig.defaults.get(keys::onboardingSkipped), !granted);
        EXPECT_EQ(savedStep(), 0);
    }
}

TEST_F(OnboardingStepsTest, TheStepAdvancesOnlyWhenTheGrantsArriveWhileItShows) {
    // Granted before the step showed: it waits for Continue.
    auto& already = show(Step::permissions);
    rig.queue.advance(3.0);
    EXPECT_EQ(already.step(), Step::permissions);
    EXPECT_TRUE(already.primaryEnabled());

    grant(true, false);
    auto& f = show(Step::permissions);
    EXPECT_FALSE(f.primaryEnabled());
    EXPECT_TRUE(f.polling());
    rig.permissions.listen = true; // granted meanwhile; the watch notices
    rig.queue.advance(1.0);
    EXPECT_EQ(f.step(), Step::ready);
    EXPECT_EQ(fires, 1);
    EXPECT_FALSE(f.polling());

    // A change on another step moves nothing, and leaving the step stops the watch.
    grant(false, false);
    auto& welcome = show(Step::welcome);
    EXPECT_FALSE(welcome.polling());
    grant(true, true);
    EXPECT_EQ(welcome.step(), Step::welcome);
    EXPECT_EQ(fires, 1);
}

TEST_F(OnboardingStepsTest, LaunchAtLoginIsProposedOncePerUserEvenAcrossAReset) {
    auto& first = show(Step::ready);
    EXPECT_TRUE(rig.c().configStore().config().general.launchAtLogin);
    EXPECT_TRUE(rig.defaults.get(keys::onboardingLaunchAtLoginProposed));
    ASSERT_FALSE(rig.loginItems.requests().empty());
    EXPECT_TRUE(rig.loginItems.requests().back());
    first.setLaunchAtLogin(false);
    const auto requestsAfterTurningOff = rig.loginItems.requests().size();

    show(Step::ready);
    rig.c().resetOnboarding();
    show(Step::welcome).skip();
    EXPECT_FALSE(rig.c().configStore().config().general.launchAtLogin);
    EXPECT_EQ(rig.loginItems.requests().size(), requestsAfterTurningOff);
    EXPECT_FALSE(rig.loginItems.requests().back());
}

TEST_F(OnboardingStepsTest, OnlyAWheelOpenedAndClosedOnTheReadyStepIsCelebratedOnce) {
    auto& wheel = rig.c().wheelState();
    // Opened before the step shows, closed on it: nothing.
    wheel.setVisible(true);
    auto& f = show(Step::ready);
    wheel.setVisible(false);
    EXPECT_FALSE(f.celebrating());
    // Opened on another step, closed on this one: nothing.
    f.back();
    wheel.setVisible(true);
    f.primary();
    wheel.setVisible(false);
    EXPECT_FALSE(f.celebrating());

    wheel.setVisible(true);
    EXPECT_FALSE(f.celebrating());
    wheel.setVisible(false);
    EXPECT_TRUE(f.celebrating());
    EXPECT_EQ(fires, 1);
    rig.queue.advance(OnboardingFlow::confettiSeconds);
    EXPECT_FALSE(f.celebrating());

    wheel.setVisible(true);
    wheel.setVisible(false);
    EXPECT_FALSE(f.celebrating());
    EXPECT_EQ(fires, 1);
}

TEST_F(OnboardingStepsTest, TextsNameTheKeysAndWhatStillWorks) {
    EXPECT_EQ(OnboardingTexts::summonRow("Left Alt or Right Ctrl"),
              "Hold Left Alt or Right Ctrl for a moment to open the wheel.");
    EXPECT_NE(OnboardingTexts::degradedStateNote(true, true).find("only fires while Rondelix is focused"),
              std::string::npos);
    EXPECT_NE(OnboardingTexts::degradedStateNote(false, true).find("the wheel won't open"),
              std::string::npos);
    // Without a tray there is no tray icon to point at.
    for (const bool tray : {true, false}) {
        EXPECT_EQ(OnboardingTexts::degradedStateNote(false, tray).find("tray") != std::string::npos, tray);
        EXPECT_EQ(OnboardingTexts::whereItLives(tray).find("lives in your system tray") != std::string::npos,
                  tray);
    }
}

} // namespace
} // namespace rondelix
