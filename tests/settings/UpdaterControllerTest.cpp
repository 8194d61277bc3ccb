#include "settings/UpdaterController.h"

#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimUpdater.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

using platform::UpdateError;

class UpdaterControllerTest : public ::testing::Test {
  protected:
    platform::sim::SimMainQueue queue;
    platform::sim::SimUpdater framework;
    UpdaterController controller{framework, queue};

    platform::UpdaterDelegate& reports() { return framework.delegate(); }
    std::string text() const { return controller.statusText(); }
};

TEST_F(UpdaterControllerTest, StartsTheFrameworkAndMirrorsItsCanCheckFlagOnTheMainQueue) {
    EXPECT_EQ(framework.starts, 1);
    EXPECT_EQ(text(), "Not checked yet");
    framework.setCanCheck(true);
    EXPECT_FALSE(controller.canStandardCheck());
    queue.runPending();
    EXPECT_TRUE(controller.canStandardCheck());
    EXPECT_TRUE(controller.canCheck());
    // No new check while one runs or installs; the menus follow the framework only.
    controller.setStatus(UpdaterController::Checking{});
    EXPECT_FALSE(controller.canCheck());
    controller.setStatus(UpdaterController::Installing{"2.0"});
    EXPECT_FALSE(controller.canCheck());
    EXPECT_TRUE(controller.canStandardCheck());
}

TEST_F(UpdaterControllerTest, ProbeOutcomesBecomeTheStatusText) {
    controller.setStatus(UpdaterController::Checking{});
    reports().didFindValidUpdate("2.0");
    EXPECT_EQ(text(), "Update available: 2.0");
    reports().didNotFindUpdate();
    EXPECT_EQ(text(), "Up to date (1.4.0)");
    EXPECT_FALSE(controller.foundVersion());
    controller.setStatus(UpdaterController::Installing{"2.0"});
    EXPECT_EQ(text(), "Installing 2.0…  (follow the Sparkle window)");
    controller.setStatus(UpdaterController::Checking{});
    EXPECT_EQ(text(), "Checking…");
    framework.version.reset(); // a build without a version
    reports().didNotFindUpdate();
    EXPECT_EQ(text(), "Up to date (?)");
}

TEST_F(UpdaterControllerTest, AValidUpdateWhileInstallingKeepsInstallingButRemembersTheVersion) {
    controller.setStatus(UpdaterController::Installing{"2.0"});
    reports().didFindValidUpdate("2.1");
    EXPECT_EQ(controller.status(), UpdaterController::Status(UpdaterController::Installing{"2.0"}));
    EXPECT_EQ(controller.foundVersion(), "2.1");
}

TEST_F(UpdaterControllerTest, AbortedInstallationOffersTheUpdateAgain) {
    controller.setStatus(UpdaterController::Installing{"2.0"});
    reports().didAbortWithError({"cancelled", nullptr});
    EXPECT_EQ(text(), "Update available: 1.4.0"); // no version was ever found

    reports().didFindValidUpdate("2.0");
    controller.setStatus(UpdaterController::Installing{"2.0"});
    reports().didAbortWithError({"cancelled", nullptr});
    EXPECT_EQ(text(), "Update available: 2.0");

    // Aborts of checks the About page did not start leave the status alone.
    controller.setStatus(UpdaterController::Failed{"earlier"});
    reports().didAbortWithError({"network down", nullptr});
    EXPECT_EQ(text(), "Check failed: earlier");
}

TEST_F(UpdaterControllerTest, FailedProbeJoinsDistinctErrorDescriptionsOutermostFirst) {
    auto inner = std::make_shared<const UpdateError>(UpdateError{"The host was not found.", nullptr});
    auto middle = std::make_shared<const UpdateError>(UpdateError{"The feed could not be read.", inner});
    controller.setStatus(UpdaterController::Checking{});
    reports().didAbortWithError({"An error occurred.", middle});
    EXPECT_EQ(text(),
              "Check failed: An error occurred.; The feed could not be read.; The host was not found.");

    auto same = std::make_shared<const UpdateError>(UpdateError{"Offline.", nullptr});
    EXPECT_EQ(UpdaterController::detail({"Offline.", same}), "Offline.");
    auto empty = std::make_shared<const UpdateError>(UpdateError{"", nullptr});
    EXPECT_EQ(UpdaterController::detail({"", empty}), "");
}

TEST_F(UpdaterControllerTest, OnlyAScheduledCheckMarksAnUpdateAsPendingUntilAttendedTo) {
    std::vector<UpdaterController::Property> changes;
    controller.changed.connect([&](UpdaterController::Property p) { changes.push_back(p); });
    reports().willShowUpdate(true, "2.0");
    queue.runPending();
    EXPECT_FALSE(controller.scheduledUpdatePending());
    reports().willShowUpdate(false, "2.0");
    queue.runPending();
    EXPECT_EQ(controller.scheduledUpdatePending(), "2.0");
    reports().didReceiveUserAttention("2.0");
    queue.runPending();
    EXPECT_FALSE(controller.scheduledUpdatePending());
    EXPECT_EQ(changes.size(), 2u);
}

} // namespace
} // namespace rondelix
