#include "actions/InstalledAutomations.h"

#include "platform/sim/SimBackground.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimWorkspace.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace rondelix {
namespace {

namespace fs = std::filesystem;

class Automations : public ::testing::Test {
  protected:
    fs::path root = fs::temp_directory_path() / ("rondelix-automations-" + std::to_string(::getpid()));

    void TearDown() override { fs::remove_all(root); }

    void add(const fs::path& folder, const std::string& name) {
        fs::create_directories(folder);
        std::ofstream(folder / name) << "#!/bin/sh\n";
        fs::permissions(folder / name, fs::perms::owner_all);
    }
    void listingEnds() {
        background.runAll();
        queue.runPending();
    }
    InstalledAutomations::Services services() { return {background, queue, workspace}; }

    platform::sim::SimBackground background;
    platform::sim::SimMainQueue queue;
    platform::sim::SimWorkspace workspace{queue};
};

TEST_F(Automations, ListsOffTheMainThreadAndTellsOnlyOfChanges) {
    const fs::path folder = root / "shortcuts";
    add(folder, "Lights");
    InstalledAutomations automations(folder, services());
    int changes = 0;
    int done = 0;
    automations.changed.connect([&] { ++changes; });

    automations.refresh([&] { ++done; });
    EXPECT_FALSE(automations.listed()) << "nothing before the listing ends";
    EXPECT_TRUE(automations.names().empty());
    listingEnds();
    EXPECT_TRUE(automations.listed());
    EXPECT_EQ(automations.names(), std::vector<std::string>{"Lights"});
    EXPECT_TRUE(automations.contains("LIGHTS"));
    EXPECT_FALSE(automations.contains("Light"));

    automations.refresh([&] { ++done; });
    listingEnds();
    EXPECT_EQ(changes, 1) << "the same names again are no change";
    EXPECT_EQ(done, 2) << "the caller hears of the listing all the same";

    add(folder, "Backup");
    automations.refresh();
    listingEnds();
    EXPECT_EQ(automations.names(), (std::vector<std::string>{"Backup", "Lights"}));
    EXPECT_EQ(changes, 2);

    // A listing that lands after the list is gone reaches nothing.
    auto gone = std::make_unique<InstalledAutomations>(folder, services());
    gone->refresh([&] { ++done; });
    gone.reset();
    listingEnds();
    EXPECT_EQ(done, 2);
}

TEST_F(Automations, OpensItsFolderMadeFirstThroughAnEscapedLink) {
    struct Case {
        const char* home;
        const char* link;
    };
    const Case cases[] = {
        {"plain", "plain"},         {"with space", "with%20space"}, {"hash#home", "hash%23home"},
        {"per%cent", "per%25cent"}, {"why?not", "why%3Fnot"},
    };
    for (const Case& c : cases) {
        const fs::path folder = root / c.home / "shortcuts";
        InstalledAutomations automations(folder, services());
        automations.openFolder();
        EXPECT_TRUE(fs::is_directory(folder)) << c.home;
        ASSERT_FALSE(workspace.openedLinks.empty());
        EXPECT_EQ(workspace.openedLinks.back(), "file://" + root.string() + "/" + c.link + "/shortcuts")
            << c.home;
    }
}

} // namespace
} // namespace rondelix
