#include "settings/DiagnosticsDelivery.h"

#include "actions/LinkText.h"
#include "platform/sim/SimBackground.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimPasteboard.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimWorkspace.h"
#include "support/StoreRig.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace rondelix {
namespace {

namespace fs = std::filesystem;
using Copy = DiagnosticsDelivery::CopyState;
using Email = DiagnosticsDelivery::EmailState;

struct DiagnosticsDeliveryTest : ::testing::Test {
    DiagnosticsDelivery::Sources sources(std::string version = "0.1.0") {
        return {[this] {
                    ++snapshots;
                    return std::string("report\n  Managed shortcuts: __SHORTCUTS__");
                },
                [] { return std::string("log line"); }, [] { return std::string("count=0;"); }, version,
                home.path};
    }
    // Lets the collectors run and hands their result back to the main thread.
    void gathered() {
        background.runAll();
        queue.runPending();
    }

    platform::sim::SimMainQueue queue;
    platform::sim::SimBackground background;
    platform::sim::SimPasteboard pasteboard;
    platform::sim::SimProcesses processes{queue};
    platform::sim::SimWorkspace workspace{queue};
    platform::sim::SimLog log;
    testing::TempHome home;
    int snapshots = 0;
    DiagnosticsDelivery delivery{{queue, background, pasteboard, processes, workspace, log}, sources()};
};

constexpr const char* fullText =
    "report\n  Managed shortcuts: count=0;\n--- Recent logs (last 10 min) ---\nlog line";

TEST_F(DiagnosticsDeliveryTest, CopyGathersOffTheMainThreadAndResetsAfterTwoSeconds) {
    delivery.copy();
    EXPECT_EQ(delivery.copyState(), Copy::gathering);
    EXPECT_TRUE(delivery.busy());
    delivery.email(); // one delivery at a time
    EXPECT_EQ(delivery.emailState(), Email::idle);
    gathered();
    EXPECT_EQ(delivery.copyState(), Copy::copied);
    EXPECT_EQ(pasteboard.text(), fullText);

    queue.advance(1.0);
    delivery.copy();    // again while it shows its result
    queue.advance(1.0); // the first reset finds it gathering
    EXPECT_EQ(delivery.copyState(), Copy::gathering);
    gathered();
    queue.advance(1.9);
    EXPECT_EQ(delivery.copyState(), Copy::copied);
    queue.advance(0.1);
    EXPECT_EQ(delivery.copyState(), Copy::idle);
    EXPECT_EQ(snapshots, 2);
}

TEST_F(DiagnosticsDeliveryTest, EmailWritesAPrivateFileAndAsksTheComposer) {
    delivery.email();
    gathered();
    const fs::path file = home.path / "Rondelix-Diagnostics-0.1.0.txt";
    EXPECT_EQ(testing::readText(file), fullText);
    struct stat info {};
    ASSERT_EQ(::lstat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    ASSERT_EQ(processes.children().size(), 1u);
    const auto& request = processes.children()[0].request;
    EXPECT_EQ(request.program, "xdg-email");
    EXPECT_EQ(request.arguments.back(), "support@rondelix.app");
    EXPECT_NE(std::find(request.arguments.begin(), request.arguments.end(), file.string()),
              request.arguments.end());
    EXPECT_EQ(delivery.emailState(), Email::gathering);
    processes.finish(0, 0);
    queue.runPending();
    EXPECT_EQ(delivery.emailState(), Email::opened);
    EXPECT_TRUE(workspace.openedLinks.empty());
    queue.advance(2.0);
    EXPECT_EQ(delivery.emailState(), Email::idle);
}

// Without a known desktop the helper runs the mail program in the
// foreground and returns only when the user closes it: still running after
// three seconds means the message is open, and the user's mail program is
// never ended, whenever and however it exits.
TEST_F(DiagnosticsDeliveryTest, AComposerStillRunningAfterThreeSecondsIsOpenedAndNeverEnded) {
    delivery.email();
    gathered();
    ASSERT_EQ(processes.children().size(), 1u);
    EXPECT_TRUE(processes.child(0).request.ownSession);
    queue.advance(2.9);
    EXPECT_EQ(delivery.emailState(), Email::gathering);
    queue.advance(0.1);
    EXPECT_EQ(delivery.emailState(), Email::opened);
    queue.advance(32.0);
    EXPECT_FALSE(processes.child(0).done);
    EXPECT_EQ(delivery.emailState(), Email::idle);
    processes.finish(0, 1);
    queue.advance(1.0);
    EXPECT_EQ(delivery.emailState(), Email::idle);
    EXPECT_TRUE(workspace.openedLinks.empty());
}

// The plain mail says what the file manager showed: the file selected, only
// its folder, or nothing, where it then names the file's place.
TEST_F(DiagnosticsDeliveryTest, WithoutAComposerTheFileIsShownAndAPlainMailSaysHow) {
    const std::string report = (home.path / "Rondelix-Diagnostics-0.1.0.txt").string();
    const struct {
        bool launchFails;
        platform::Revealed reveals;
        std::string body;
    } rows[] = {
        {true, platform::Revealed::selected,
         "The diagnostics file has been revealed in your file manager. Please "
         "attach it before sending."},
        {false, platform::Revealed::folderOpened,
         "The folder holding the diagnostics file has been opened in your file manager. Please attach "
         "Rondelix-Diagnostics-0.1.0.txt from it before sending."},
        {false, platform::Revealed::nothing,
         "The diagnostics file is at " + report + ". Please attach it before sending."},
    };
    for (const auto& row : rows) {
        workspace.openedLinks.clear();
        workspace.revealedFiles.clear();
        workspace.reveals = row.reveals;
        delivery.email();
        gathered();
        const std::size_t child = processes.children().size() - 1;
        row.launchFails ? processes.failLaunch(child) : processes.finish(child, 3);
        queue.runPending();
        EXPECT_EQ(delivery.emailState(), Email::opened);
        EXPECT_EQ(workspace.revealedFiles, std::vector<std::string>{report});
        ASSERT_EQ(workspace.openedLinks.size(), 1u);
        EXPECT_EQ(workspace.openedLinks[0],
                  LinkText::mailtoLink("support@rondelix.app",
                                       {{"subject", "Rondelix 0.1.0 diagnostics"}, {"body", row.body}}));
        EXPECT_FALSE(delivery.unsentReport());
        queue.advance(2.0);
    }

    // Nothing takes the plain mail either: the page says so and where the
    // report lies, instead of a mail that never opened.
    workspace.linksOpen = false;
    delivery.email();
    gathered();
    processes.finish(processes.children().size() - 1, 3);
    queue.runPending();
    EXPECT_EQ(delivery.emailState(), Email::notOpened);
    EXPECT_EQ(delivery.unsentReport(), home.path / "Rondelix-Diagnostics-0.1.0.txt");
    EXPECT_EQ(log.lines().back(), "Rondelix: no mail program opened the diagnostics; the report is in " +
                                      (home.path / "Rondelix-Diagnostics-0.1.0.txt").string());
    queue.advance(2.0);
    EXPECT_EQ(delivery.emailState(), Email::idle);
    EXPECT_TRUE(delivery.unsentReport());
    workspace.linksOpen = true;
    delivery.email();
    EXPECT_FALSE(delivery.unsentReport());
}

TEST_F(DiagnosticsDeliveryTest, AFileThatCannotBeWrittenTurnsIntoACopy) {
    // A folder that is gone, and a session without a private folder at all:
    // the shared temporary folder is never a stand-in.
    for (const std::optional<fs::path>& folder :
         {std::optional(home.path / "no-such-folder"), std::optional<fs::path>()}) {
        DiagnosticsDelivery::Sources missing = sources("?");
        missing.folder = folder;
        pasteboard.writeText("");
        DiagnosticsDelivery broken{{queue, background, pasteboard, processes, workspace, log}, missing};
        broken.email();
        gathered();
        EXPECT_EQ(broken.emailState(), Email::copied);
        EXPECT_EQ(pasteboard.text(), fullText);
        EXPECT_TRUE(processes.children().empty());
        EXPECT_TRUE(workspace.openedLinks.empty());
        ASSERT_FALSE(log.lines().empty());
        EXPECT_EQ(log.lines().back().rfind("Rondelix: diagnostics file write failed: ", 0), 0u);
        EXPECT_EQ(broken.file().has_value(), folder.has_value());
        EXPECT_EQ(broken.subject(), "Rondelix ? diagnostics");
    }
}

TEST_F(DiagnosticsDeliveryTest, APlantedLinkIsReplacedNotFollowed) {
    const fs::path victim = home.path / "victim";
    testing::writeText(victim, "keep me");
    fs::create_symlink(victim, home.path / "Rondelix-Diagnostics-0.1.0.txt");
    delivery.email();
    gathered();
    const fs::path file = home.path / "Rondelix-Diagnostics-0.1.0.txt";
    EXPECT_FALSE(fs::is_symlink(file));
    EXPECT_EQ(testing::readText(file), fullText);
    EXPECT_EQ(testing::readText(victim), "keep me");
    struct stat info {};
    ASSERT_EQ(::lstat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(DiagnosticsDeliveryTest, AResultArrivingAfterThePageWentAwayIsDropped) {
    auto page = std::make_unique<DiagnosticsDelivery>(
        DiagnosticsDelivery::Services{queue, background, pasteboard, processes, workspace, log}, sources());
    page->copy();
    page.reset();
    gathered();
    queue.advance(3);
    EXPECT_EQ(pasteboard.text(), std::nullopt);
}

} // namespace
} // namespace rondelix
