#include "engine/PermissionPoll.h"

#include "engine/PermissionsCheck.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimPermissions.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

struct PermissionPollTest : ::testing::Test {
    platform::sim::SimMainQueue queue;
    platform::sim::SimPermissions system;
    platform::sim::SimLog log;
    PermissionsCheck check{system, log};
    int nudges = 0;
    PermissionPoll poll{queue, check, [this] { ++nudges; }};
};

TEST_F(PermissionPollTest, WithBothGrantedItRefreshesNudgesOnceAndNeverSleeps) {
    system.accessibility = system.listen = true;
    poll.start();
    EXPECT_TRUE(check.accessibilityTrusted() && check.inputMonitoringTrusted());
    EXPECT_EQ(nudges, 1);
    EXPECT_FALSE(poll.running());
    EXPECT_EQ(queue.pendingCount(), 0u);
}

TEST_F(PermissionPollTest, WhileAGrantIsMissingItNudgesAndRefreshesEverySecond) {
    system.accessibility = true;
    poll.start();
    EXPECT_EQ(nudges, 0);
    queue.advance(0.99);
    EXPECT_EQ(nudges, 0);
    queue.advance(0.01);
    EXPECT_EQ(nudges, 1);
    queue.advance(3.0);
    EXPECT_EQ(nudges, 4);
    EXPECT_FALSE(check.inputMonitoringTrusted());

    system.listen = true;
    queue.advance(1.0);
    EXPECT_TRUE(check.inputMonitoringTrusted());
    EXPECT_EQ(nudges, 6); // the tick's nudge and the last one
    queue.advance(10.0);
    EXPECT_EQ(nudges, 6);
    EXPECT_FALSE(poll.running());
}

TEST_F(PermissionPollTest, StoppedItTouchesNothingAndRestartedItBeginsAfresh) {
    poll.start();
    queue.advance(1.0);
    poll.stop();
    system.accessibility = system.listen = true;
    queue.advance(5.0);
    EXPECT_EQ(nudges, 1);
    EXPECT_FALSE(check.accessibilityTrusted()); // not refreshed since

    poll.start();
    EXPECT_TRUE(check.accessibilityTrusted());
    EXPECT_EQ(nudges, 2);
}

TEST_F(PermissionPollTest, AStartWhileRunningLeavesOneTickPerSecond) {
    poll.start();
    queue.advance(0.5);
    poll.start();
    queue.advance(0.5);
    EXPECT_EQ(nudges, 0);
    queue.advance(0.5);
    EXPECT_EQ(nudges, 1);
    EXPECT_EQ(queue.pendingCount(), 1u);
}

} // namespace
} // namespace rondelix
