#include "engine/PermissionsCheck.h"

#include "platform/sim/SimLog.h"
#include "platform/sim/SimPermissions.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

struct PermissionsCheckTest : ::testing::Test {
    platform::sim::SimPermissions system;
    platform::sim::SimLog log;
    PermissionsCheck check{system, log};
    std::vector<bool> accessibilityNotices;
    std::vector<bool> inputNotices;

    void SetUp() override {
        check.accessibilityTrustedChanged.connect([this](bool v) { accessibilityNotices.push_back(v); });
        check.inputMonitoringTrustedChanged.connect([this](bool v) { inputNotices.push_back(v); });
    }
};

TEST_F(PermissionsCheckTest, StartsUntrustedAndRefreshReadsTheSystem) {
    EXPECT_FALSE(check.accessibilityTrusted());
    EXPECT_FALSE(check.inputMonitoringTrusted());
    system.accessibility = true;
    check.refresh();
    EXPECT_TRUE(check.accessibilityTrusted());
    EXPECT_FALSE(check.inputMonitoringTrusted());
    check.refresh();
    EXPECT_EQ(accessibilityNotices, std::vector<bool>{true});
    EXPECT_TRUE(inputNotices.empty());
}

TEST_F(PermissionsCheckTest, AConfirmationWhileAlreadyTrustedNotifiesNobody) {
    system.listen = true;
    check.refresh();
    inputNotices.clear();
    check.confirmInputMonitoring();
    EXPECT_TRUE(check.inputMonitoringTrusted());
    EXPECT_TRUE(inputNotices.empty());
    // The saw-flag was set: a refresh that still gets a yes keeps it quiet.
    check.refresh();
    EXPECT_TRUE(inputNotices.empty());
}

TEST_F(PermissionsCheckTest, ARealEventProvesAGrantUntilTheSystemSaysNo) {
    check.confirmAccessibility();
    EXPECT_TRUE(check.accessibilityTrusted());
    check.confirmAccessibility();
    EXPECT_EQ(accessibilityNotices, std::vector<bool>{true});

    check.refresh();
    EXPECT_FALSE(check.accessibilityTrusted());
    EXPECT_EQ(accessibilityNotices, (std::vector<bool>{true, false}));
    // The saw-flag went with it: the next event proves the grant again.
    check.confirmAccessibility();
    EXPECT_TRUE(check.accessibilityTrusted());
}

TEST_F(PermissionsCheckTest, ARefreshWithAYesKeepsAConfirmedGrant) {
    check.confirmInputMonitoring();
    system.listen = true;
    check.refresh();
    EXPECT_TRUE(check.inputMonitoringTrusted());
    system.listen = false;
    check.refresh();
    EXPECT_FALSE(check.inputMonitoringTrusted());
    EXPECT_EQ(inputNotices, (std::vector<bool>{true, false}));
}

TEST_F(PermissionsCheckTest, RequestingAsksBothWaysLogsEachAndAnswersEitherSuccess) {
    system.listenRequestAnswer = true;
    system.listen = true;
    EXPECT_TRUE(check.requestInputMonitoring());
    EXPECT_EQ(system.inputRequests, 1);
    EXPECT_EQ(system.listenRequests, 1);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{"Rondelix: IOHIDRequestAccess(listen) = false",
                                                     "Rondelix: CGRequestListenEventAccess = true"}));
    EXPECT_TRUE(check.inputMonitoringTrusted()) << "a request refreshes";

    system.listenRequestAnswer = false;
    EXPECT_FALSE(check.requestInputMonitoring());
    EXPECT_EQ(system.inputRequests, 2);
}

TEST_F(PermissionsCheckTest, PrimingLogsWhetherTheAttemptGotThrough) {
    PermissionsCheck::primeInputMonitoringRegistration(system, log);
    system.listen = true;
    PermissionsCheck::primeInputMonitoringRegistration(system, log);
    EXPECT_EQ(system.primes, 2);
    EXPECT_EQ(log.lines(),
              (std::vector<std::string>{"Rondelix: primeInputMonitoringRegistration (tap nil/pre-grant)",
                                        "Rondelix: primeInputMonitoringRegistration (tap created)"}));
}

TEST_F(PermissionsCheckTest, SettingsLinksAndThePromptGoToTheSystem) {
    check.openInputMonitoringSettings();
    check.openAccessibilitySettings();
    check.bringSystemPermissionPromptToFront();
    EXPECT_EQ(system.inputMonitoringSettingsOpened, 1);
    EXPECT_EQ(system.accessibilitySettingsOpened, 1);
    EXPECT_EQ(system.promptsBroughtToFront, 1);
}

} // namespace
} // namespace rondelix
