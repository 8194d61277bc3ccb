#include "guides/ShortcutSetup.h"

#include "platform/sim/SimMainQueue.h"
#include "support/PermissionsBind.h"
#include "support/StoreRig.h"

#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace rondelix {
namespace {

namespace fs = std::filesystem;
using Status = ShortcutSetup::Status;
using Outcome = ShortcutSetup::InstallResult::Outcome;

class ShortcutSetupTest : public ::testing::Test {
  protected:
    ShortcutSetupTest() { testing::writeText(shipped / "Toggle Bluetooth", "#!/bin/sh\necho shipped\n"); }
    ShortcutSetup& open(std::optional<std::string> highlight = std::nullopt) {
        setup = std::make_unique<ShortcutSetup>(ShortcutSetupHost{.queue = queue,
                                                                  .installed = [this] { return installed; },
                                                                  .refresh = [this] { ++refreshes; },
                                                                  .shippedFolder = shipped,
                                                                  .automationsFolder = folder,
                                                                  .home = home.path,
                                                                  .confirmReplace =
                                                                      [this](const std::string&) {
                                                                          ++questions;
                                                                          return replaceAnswer;
                                                                      }},
                                                std::move(highlight));
        setup->shown();
        return *setup;
    }
    ShortcutSetup::Card card(const std::string& id) {
        for (const auto& c : setup->cards())
            if (c.requirement.id == id) return c;
        ADD_FAILURE() << id;
        return {};
    }

    platform::sim::SimMainQueue queue;
    testing::TempHome home;
    fs::path shipped = home.path / "shipped";
    fs::path folder = home.path / ".config/rondelix/automations";
    std::set<std::string> installed;
    int refreshes = 0;
    int questions = 0;
    bool replaceAnswer = false;
    std::unique_ptr<ShortcutSetup> setup;
};

TEST_F(ShortcutSetupTest, CardsFollowTheListingIgnoringCaseAndNeverCountUnavailableOnes) {
    installed = {"toggle focus", " toggle night shift", "toggle true tone"};
    open();
    EXPECT_EQ(refreshes, 1);
    const struct {
        const char* id;
        Status status;
        bool installable;
    } cases[] = {
        {"toggle-bluetooth", Status::notSetUp, true},
        {"toggle-dnd", Status::installed, false},
        {"night-shift", Status::notSetUp, false},
    };
    ASSERT_EQ(setup->cards().size(), 3u);
    for (const auto& c : cases) {
        EXPECT_EQ(card(c.id).status, c.status) << c.id;
        EXPECT_EQ(card(c.id).installable, c.installable) << c.id;
    }
}

TEST_F(ShortcutSetupTest, AHighlightPointsOutItsCardAndOpensItsStepsOnlyWhereTheyHelp) {
    installed = {"toggle focus"};
    const struct {
        const char* highlight;
        const char* id; // the card that should be highlighted, or none
        bool stepsShown;
    } cases[] = {
        {"TOGGLE BLUETOOTH", "toggle-bluetooth", true},
        {"Toggle Focus", "toggle-dnd", false}, // installed: no steps
        {"Toggle Do Not Disturb", "toggle-dnd", false},
        {"toggle stage manager", nullptr, false}, // no card on Linux
        {"Morning Routine", nullptr, false},
    };
    for (const auto& c : cases) {
        open(std::string(c.highlight));
        for (const auto& each : setup->cards()) {
            const bool expected = c.id && each.requirement.id == c.id;
            EXPECT_EQ(each.highlighted, expected) << c.highlight << " " << each.requirement.id;
            EXPECT_EQ(each.stepsShown, expected && c.stepsShown) << c.highlight << " " << each.requirement.id;
        }
    }
    open().toggleSteps("night-shift");
    EXPECT_TRUE(card("night-shift").stepsShown);
    setup->toggleSteps("night-shift");
    EXPECT_FALSE(card("night-shift").stepsShown);
}

TEST_F(ShortcutSetupTest, RecheckReadsCheckingForItsFullTimeAndCannotRepeatMeanwhile) {
    auto& s = open();
    s.recheck();
    s.recheck();
    EXPECT_TRUE(s.rechecking());
    EXPECT_EQ(refreshes, 2); // one on showing, one for the first re-check
    queue.advance(ShortcutSetup::recheckSeconds - 0.01);
    EXPECT_TRUE(s.rechecking());
    queue.advance(0.01);
    EXPECT_FALSE(s.rechecking());
}

TEST_F(ShortcutSetupTest, InstallPutsAnExecutableCopyInPlaceAndAsksBeforeReplacingTheUsersOwn) {
    auto& s = open();
    const fs::path target = folder / "Toggle Bluetooth";
    ASSERT_EQ(s.install("toggle-bluetooth").outcome, Outcome::installed);
    EXPECT_EQ(testing::readText(target), "#!/bin/sh\necho shipped\n");
    EXPECT_NE(fs::status(target).permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(refreshes, 2);
    EXPECT_EQ(questions, 0);

    testing::writeText(target, "#!/bin/sh\necho mine\n");
    EXPECT_EQ(s.install("toggle-bluetooth").outcome, Outcome::kept);
    EXPECT_EQ(testing::readText(target), "#!/bin/sh\necho mine\n");
    replaceAnswer = true;
    EXPECT_EQ(s.install("toggle-bluetooth").outcome, Outcome::installed);
    EXPECT_EQ(testing::readText(target), "#!/bin/sh\necho shipped\n");
    EXPECT_EQ(questions, 2);

    EXPECT_EQ(s.install("night-shift").outcome, Outcome::failed) << "none shipped";
}

TEST_F(ShortcutSetupTest, AnUnsafeOrUnwritableAutomationFolderFailsWithASentenceAndChangesNothing) {
    const fs::path outside = fs::temp_directory_path() / ("rondelix-outside-" + std::to_string(::getpid()));
    fs::create_directories(outside);
    std::error_code ec;
    const struct {
        const char* name;
        std::function<void()> arrange;
        const char* says;
    } cases[] = {
        {"a file", [&] { testing::writeText(folder, "not a folder"); }, "is a file, not a folder"},
        {"a link out of home",
         [&] {
             fs::create_directories(folder.parent_path());
             fs::create_symlink(outside, folder);
         },
         "leads outside your home folder"},
        {"read-only",
         [&] {
             fs::create_directories(folder);
             fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
         },
         "couldn't install \u201CToggle Bluetooth\u201D: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs::permissions(folder, fs::perms::owner_all, ec);
        fs::remove_all(folder);
        c.arrange();
        EXPECT_TRUE(testing::passesWhilePermissionsBind([&] {
            const auto result = open().install("toggle-bluetooth");
            EXPECT_EQ(result.outcome, Outcome::failed);
            EXPECT_NE(result.message.find(c.says), std::string::npos) << result.message;
        }));
        EXPECT_TRUE(fs::is_empty(outside));
        EXPECT_FALSE(fs::exists(folder / "Toggle Bluetooth", ec));
    }
    fs::permissions(folder, fs::perms::owner_all, ec);
    fs::remove_all(folder);
    fs::remove_all(outside);
}

} // namespace
} // namespace rondelix
