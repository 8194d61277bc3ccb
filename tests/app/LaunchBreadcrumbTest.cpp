#include "app/LaunchBreadcrumb.h"

#include "app/DefaultsKeys.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimUserDefaults.h"

#include <gtest/gtest.h>
#include <limits>
#include <memory>

namespace rondelix {
namespace {

namespace keys = DefaultsKeys;
using LaunchBreadcrumb::diagnosticsLine;

// Launches of the program against one set of user defaults; each launch gets
// a fresh main queue, as a new process would.
class LaunchBreadcrumbTest : public ::testing::Test {
  protected:
    void launch(const std::string& version = "Version 14.5 (Build 23F79)") {
        queue = std::make_unique<platform::sim::SimMainQueue>();
        LaunchBreadcrumb::recordLaunchStart(defaults, *queue, version);
    }
    void survive() { queue->advance(LaunchBreadcrumb::surviveDelay); }
    void crash() { queue.reset(); }

    platform::sim::SimUserDefaults defaults;
    std::unique_ptr<platform::sim::SimMainQueue> queue;
};

TEST_F(LaunchBreadcrumbTest, FirstLaunchIsInProgressUntilFiveSecondsThenOK) {
    launch();
    EXPECT_FALSE(defaults.get(keys::previousLaunchIncomplete));
    EXPECT_EQ(defaults.get(keys::incompleteLaunchCount), 0);
    EXPECT_EQ(defaults.get(keys::currentLaunchOSVersion), "14.5 (Build 23F79)");
    queue->advance(4.9);
    EXPECT_EQ(diagnosticsLine(defaults), "launch in progress");
    queue->advance(0.1);
    EXPECT_EQ(diagnosticsLine(defaults), "OK");
    EXPECT_EQ(defaults.get(keys::healthyLaunchStreak), 1);
}

TEST_F(LaunchBreadcrumbTest, CrashedLaunchIsReportedForTheWholeNextRun) {
    launch("Version 14.4");
    crash();
    launch("Version 14.5");
    const std::string expected =
        "PREVIOUS LAUNCH DID NOT COMPLETE — possible startup crash (1 total — last on 14.4)";
    EXPECT_EQ(diagnosticsLine(defaults), expected);
    survive();
    EXPECT_EQ(diagnosticsLine(defaults), expected);
    EXPECT_EQ(defaults.get(keys::healthyLaunchStreak), 1);
}

TEST_F(LaunchBreadcrumbTest, QuittingEarlyCountsOneSurvivalNotTwo) {
    launch();
    LaunchBreadcrumb::markSurvived(defaults); // quit after one second
    survive();
    EXPECT_EQ(defaults.get(keys::healthyLaunchStreak), 1);
    EXPECT_TRUE(defaults.get(keys::lastLaunchCompleted));
    EXPECT_FALSE(defaults.get(keys::launchInProgress));
}

TEST_F(LaunchBreadcrumbTest, ThreeHealthyLaunchesClearTheIncompleteRecord) {
    launch("Version 13");
    crash();
    launch("Version 14");
    crash();
    launch();
    survive();
    EXPECT_EQ(diagnosticsLine(defaults),
              "PREVIOUS LAUNCH DID NOT COMPLETE — possible startup crash (2 total — last on 14)");
    launch();
    survive();
    EXPECT_EQ(diagnosticsLine(defaults), "OK, but had earlier incomplete launches (2 total — last on 14)");
    launch();
    survive();
    EXPECT_EQ(diagnosticsLine(defaults), "OK");
    EXPECT_EQ(defaults.get(keys::incompleteLaunchCount), 0);
    EXPECT_FALSE(defaults.hasStoredValue(keys::lastIncompleteOSVersion));
    EXPECT_EQ(defaults.get(keys::healthyLaunchStreak), 0);
}

TEST_F(LaunchBreadcrumbTest, IncompleteLaunchWithoutVersionKeepsTheEarlierOne) {
    defaults.set(keys::launchInProgress, true);
    defaults.set(keys::incompleteLaunchCount, 1);
    launch();
    EXPECT_EQ(defaults.get(keys::incompleteLaunchCount), 2);
    EXPECT_FALSE(defaults.hasStoredValue(keys::lastIncompleteOSVersion));
    EXPECT_EQ(diagnosticsLine(defaults),
              "PREVIOUS LAUNCH DID NOT COMPLETE — possible startup crash (2 total)");

    defaults.set(keys::lastIncompleteOSVersion, std::string("12.7"));
    defaults.remove(keys::currentLaunchOSVersion);
    crash();
    launch();
    EXPECT_EQ(defaults.get(keys::lastIncompleteOSVersion), "12.7");
}

TEST_F(LaunchBreadcrumbTest, CountsAtTheLargestNumberStayThere) {
    defaults.set(keys::launchInProgress, true);
    defaults.set(keys::incompleteLaunchCount, std::numeric_limits<int>::max());
    launch();
    EXPECT_EQ(defaults.get(keys::incompleteLaunchCount), std::numeric_limits<int>::max());
    defaults.set(keys::healthyLaunchStreak, std::numeric_limits<int>::max());
    survive();
    EXPECT_EQ(defaults.get(keys::healthyLaunchStreak), 0);
}

TEST_F(LaunchBreadcrumbTest, SurvivingWithoutARecordedStartDoesNothing) {
    LaunchBreadcrumb::markSurvived(defaults);
    EXPECT_TRUE(defaults.values().empty());
}

} // namespace
} // namespace rondelix
