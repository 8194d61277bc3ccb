#include "ExecutorFixture.h"

namespace rondelix {
namespace {

using Posted = platform::sim::SimEventTaps::Posted;

class PasteTest : public ExecutorTest {
  protected:
    void SetUp() override {
        ExecutorTest::SetUp();
        pasteboard.copyFromElsewhere("the user's clipboard");
    }
};

TEST_F(PasteTest, PastesWithCommandVAndRestoresTheClipboardAfterThreeTenths) {
    executor.fire(MacroAction::Text{"hello"});
    EXPECT_EQ(pasteboard.text(), "hello");
    ASSERT_EQ(taps.posted().size(), 2u);
    EXPECT_EQ(taps.posted()[0].code, 9);
    EXPECT_TRUE(taps.posted()[0].down);
    EXPECT_FALSE(taps.posted()[1].down);
    EXPECT_EQ(taps.posted()[1].flags, 0x100000u);

    queue.advance(0.29);
    EXPECT_EQ(pasteboard.text(), "hello");
    queue.advance(0.01);
    EXPECT_EQ(pasteboard.text(), "the user's clipboard");
    EXPECT_FALSE(executor.restorePending());
}

TEST_F(PasteTest, TerminalsGetTheirOwnPasteKeyAndTheXtermFamilyThePrimarySelection) {
    struct Case {
        platform::PasteKey key;
        int code;
        std::uint64_t flags;
        std::optional<std::string> primaryDuring;
    };
    const std::vector<Case> cases{
        {platform::PasteKey::controlV, 9, 0x100000u, "selected words"},
        {platform::PasteKey::controlShiftV, 9, 0x120000u, "selected words"},
        {platform::PasteKey::shiftInsert, 114, 0x20000u, "hello"},
    };
    for (const auto& c : cases) {
        taps.clearRecords();
        pasteboard.primary = "selected words";
        workspace.pasteKey = c.key;
        executor.fire(MacroAction::Text{"hello"});
        ASSERT_EQ(taps.posted().size(), 2u);
        EXPECT_EQ(std::tie(taps.posted()[0].code, taps.posted()[0].flags), std::tie(c.code, c.flags));
        EXPECT_EQ(pasteboard.primary, c.primaryDuring);
        queue.advance(0.3);
        EXPECT_EQ(pasteboard.text(), "the user's clipboard");
        EXPECT_EQ(pasteboard.primary, "selected words") << "put back with the clipboard";
    }
}

TEST_F(PasteTest, QuickPastesEndWithTheClipboardFromBeforeTheFirst) {
    executor.fire(MacroAction::Text{"one"});
    queue.advance(0.1);
    executor.fire(MacroAction::Text{"two"});
    queue.advance(0.25);
    EXPECT_EQ(pasteboard.text(), "two");
    queue.advance(0.1);
    EXPECT_EQ(pasteboard.text(), "the user's clipboard");
}

TEST_F(PasteTest, ACopyAfterThePasteIsLeftInPlace) {
    executor.fire(MacroAction::Text{"hello"});
    queue.advance(0.1);
    pasteboard.copyFromElsewhere("copied meanwhile");
    queue.advance(0.5);
    EXPECT_EQ(pasteboard.text(), "copied meanwhile");

    // The next paste snapshots the new content, not the old one.
    executor.fire(MacroAction::Text{"again"});
    queue.advance(0.3);
    EXPECT_EQ(pasteboard.text(), "copied meanwhile");
}

TEST_F(PasteTest, ACopyBetweenTwoPastesIsWhatComesBack) {
    executor.fire(MacroAction::Text{"one"});
    queue.advance(0.1);
    pasteboard.copyFromElsewhere("copied meanwhile");
    executor.fire(MacroAction::Text{"two"});
    queue.advance(0.3);
    EXPECT_EQ(pasteboard.text(), "copied meanwhile");
}

TEST_F(PasteTest, QuittingWithinTheDelayRestoresAtOnce) {
    executor.fire(MacroAction::Text{"hello"});
    queue.advance(0.1);
    executor.applicationWillTerminate();
    EXPECT_EQ(pasteboard.text(), "the user's clipboard");
    const int writes = pasteboard.writes;
    queue.advance(1.0);
    EXPECT_EQ(pasteboard.writes, writes);
}

TEST_F(PasteTest, ABoardWithoutItemsIsLeftEmpty) {
    pasteboard.board.reset();
    executor.fire(MacroAction::Text{"hello"});
    queue.advance(0.3);
    ASSERT_TRUE(pasteboard.board.has_value());
    EXPECT_TRUE(pasteboard.board->empty());
}

TEST_F(PasteTest, EveryTypeOfEveryItemComesBack) {
    const std::vector<platform::PasteboardItem> rich = {
        {{{"text/html", "<b>x</b>"}, {"text/plain;charset=utf-8", "x"}}},
        {{{"image/png", std::string("\x89PNG", 4)}}}};
    pasteboard.writeItems(rich);
    executor.fire(MacroAction::Text{"hello"});
    queue.advance(0.3);
    EXPECT_EQ(pasteboard.board, rich);
}

TEST_F(PasteTest, EmptyTextIsReportedAndBlankTextPasted) {
    executor.fire(MacroAction::Text{""});
    EXPECT_EQ(reported, std::vector<std::string>{"This slice has no text to paste yet."});
    EXPECT_TRUE(taps.posted().empty());

    executor.fire(MacroAction::Text{"  \n"});
    EXPECT_EQ(pasteboard.text(), "  \n");
}

TEST_F(ExecutorTest, AnActionOfANewerVersionIsToldAndNeverRun) {
    fire(MacroAction::Unknown{"script2", R"({"script2":{"_0":"rm -rf ~"}})"});
    EXPECT_EQ(reported, std::vector<std::string>{"This slice needs a newer version of Rondelix."});
    EXPECT_TRUE(taps.posted().empty());
    EXPECT_TRUE(processes.children().empty());
    EXPECT_TRUE(workspace.openedApplications.empty() && workspace.openedLinks.empty());
}

TEST_F(PasteTest, AFailureNobodyListensForBeeps) {
    executor.onActionFailed = nullptr;
    executor.fire(MacroAction::Text{""});
    EXPECT_EQ(sounds.beeps, 1);
}

TEST_F(ExecutorTest, KeystrokePostsDownThenUpWithExactlyTheModifierFlags) {
    executor.fire(MacroAction::Keystroke{KeyCombo{0, true, true, true, true}});
    ASSERT_EQ(taps.posted().size(), 2u);
    for (const auto& posted : taps.posted()) {
        EXPECT_EQ(posted.kind, Posted::Kind::key);
        EXPECT_EQ(posted.code, 0);
        EXPECT_EQ(posted.flags, 0x1E0000u);
    }
    EXPECT_TRUE(taps.posted()[0].down);
    EXPECT_FALSE(taps.posted()[1].down);

    taps.clearRecords();
    executor.fire(MacroAction::Keystroke{KeyCombo{.keyCode = 65535, .shift = true}});
    EXPECT_EQ(taps.posted()[0].code, 65535);
    EXPECT_EQ(taps.posted()[0].flags, 0x20000u);
}

TEST_F(ExecutorTest, KeystrokeOutsideTheKeyCodeRangeOnlyBeeps) {
    executor.fire(MacroAction::Keystroke{KeyCombo{.keyCode = 65536}});
    executor.fire(MacroAction::Keystroke{KeyCombo{.keyCode = -1}});
    EXPECT_TRUE(taps.posted().empty());
    EXPECT_EQ(sounds.beeps, 2);
    EXPECT_TRUE(reported.empty());
}

TEST_F(ExecutorTest, ProgramTargetsGoToTheCoordinatorAndAreSilentWithoutIt) {
    std::vector<std::optional<std::string>> targets;
    executor.onOpenSettings = [&](const std::optional<std::string>& target) { targets.push_back(target); };
    executor.fire(MacroAction::OpenSettings{"open-gallery"});
    executor.fire(MacroAction::OpenSettings{std::nullopt});
    EXPECT_EQ(targets, (std::vector<std::optional<std::string>>{"open-gallery", std::nullopt}));

    executor.onOpenSettings = nullptr;
    executor.onActionFailed = nullptr;
    executor.fire(MacroAction::OpenSettings{"open-gallery"});
    EXPECT_EQ(sounds.beeps, 0);
}

} // namespace
} // namespace rondelix
