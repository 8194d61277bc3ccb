#include "editor/SliceForm.h"

#include "engine/HotkeyManager.h"
#include "support/SliceFormRig.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace rondelix;
using rondelix::testsupport::SliceFormRig;

namespace {

TEST(SliceForm, EditsOfOneSliceMakeOneUndoStep) {
    SliceFormRig rig;
    const Slice before = rig.form->slice();
    rig.form->setLabel("H");
    rig.form->setLabel("Hi");
    rig.form->setIconKind(SliceFormKinds::IconKind::emoji);
    EXPECT_EQ(rig.form->slice().label, "Hi");
    EXPECT_EQ(rig.form->slice().icon, Icon(Icon::Emoji{"✨"}));
    EXPECT_EQ(rig.form->slice().id, before.id);
    EXPECT_EQ(rig.form->coalesceKey(), "slice:default:0");
    rig.store().undo();
    EXPECT_EQ(rig.form->slice(), before);
    EXPECT_FALSE(rig.store().canUndo());
}

TEST(SliceForm, AnEmptySlotKeepsOneBlankIdUntilItIsWritten) {
    SliceFormRig rig;
    rig.clearSlot(0);
    const Slice blank = rig.form->slice();
    EXPECT_EQ(blank.label, "");
    EXPECT_EQ(blank.icon, Icon(Icon::Auto{}));
    EXPECT_EQ(blank.action, MacroAction(MacroAction::Text{""}));
    EXPECT_EQ(rig.form->slice().id, blank.id);
    rig.form->setActionKind(SliceFormKinds::ActionKind::script);
    EXPECT_EQ(rig.form->slice().id, blank.id) << "the written slice keeps the id shown";
    EXPECT_EQ(std::count_if(rig.wheel().slices.begin(), rig.wheel().slices.end(),
                            [](const Slice& s) { return s.position == 0; }),
              1);
}

// The picture is read and stored away from the window's thread; the form
// hears back through the main queue, and only while it is still there.
TEST(SliceForm, AChosenPictureIsStoredAwayFromTheWindowAndARefusedOneBeepsAndKeepsTheIcon) {
    SliceFormRig rig;
    rig.form->setIcon(Icon::CustomImage{"kept.png"});
    const auto picture = rig.rig.home.path / "picture.png";
    std::vector<std::optional<std::string>> said;
    const auto choose = [&] {
        rig.form->chooseImage([&said](std::optional<std::string> problem) { said.push_back(problem); });
    };
    const auto finishReading = [&] {
        EXPECT_TRUE(said.empty()) << "answered before the picture was read";
        rig.rig.background.runAll();
        rig.rig.queue.runPending();
    };

    std::ofstream(picture) << "not a picture";
    rig.rig.dialogs.filesToOpen.push_back(picture);
    choose();
    finishReading();
    EXPECT_EQ(rig.rig.sounds.beeps, 1);
    EXPECT_EQ(rig.form->slice().icon, Icon(Icon::CustomImage{"kept.png"}));
    EXPECT_EQ(said, (std::vector<std::optional<std::string>>{
                        "That picture couldn't be used: it may be damaged, too large, or not a picture."}));

    said.clear();
    choose(); // the panel is cancelled
    EXPECT_EQ(said, (std::vector<std::optional<std::string>>{std::nullopt}));
    EXPECT_EQ(rig.rig.background.pendingCount(), 0u);

    said.clear();
    std::ofstream(picture, std::ios::binary) << platform::sim::SimImages::pngHeader(512, 300);
    rig.rig.dialogs.filesToOpen.push_back(picture);
    choose();
    EXPECT_EQ(rig.form->slice().icon, Icon(Icon::CustomImage{"kept.png"}));
    finishReading();
    const Slice chosen = rig.form->slice();
    const auto* image = chosen.icon.as<Icon::CustomImage>();
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->filename.ends_with(".png"));
    EXPECT_NE(image->filename, "kept.png");
    EXPECT_EQ(said, (std::vector<std::optional<std::string>>{std::nullopt}));

    // A form closed while its picture is read hears nothing and writes nothing.
    said.clear();
    rig.rig.dialogs.filesToOpen.push_back(picture);
    choose();
    rig.form.reset();
    const Config before = rig.store().config();
    rig.rig.background.runAll();
    rig.rig.queue.runPending();
    EXPECT_TRUE(said.empty());
    EXPECT_EQ(rig.store().config(), before);
}

TEST(SliceForm, RecordingSuspendsSummoningUntilAKeyIsCaptured) {
    SliceFormRig rig;
    HotkeyManager& engine = rig.rig.c().hotkeyManager();
    rig.form->pressRecord();
    EXPECT_TRUE(rig.form->recorder().isRecording());
    EXPECT_TRUE(engine.recording());
    EXPECT_TRUE(rig.rig.c().isCapturingKeystroke);
    ASSERT_TRUE(engine.callbacks.recordingLiveness);
    EXPECT_TRUE(engine.callbacks.recordingLiveness());

    EXPECT_TRUE(rig.form->recorder().keyPressed(std::nullopt, KeyCombo{}));
    EXPECT_EQ(rig.rig.sounds.beeps, 1) << "a key outside the table beeps";
    EXPECT_TRUE(rig.form->recorder().isRecording());

    EXPECT_TRUE(rig.form->recorder().keyPressed(40, KeyCombo{0, false, true, false, true}));
    EXPECT_EQ(rig.form->slice().action,
              MacroAction(MacroAction::Keystroke{KeyCombo{40, false, true, false, true}}));
    EXPECT_FALSE(rig.form->recorder().isRecording());
    EXPECT_FALSE(engine.recording());
    EXPECT_FALSE(rig.rig.c().isCapturingKeystroke);
    EXPECT_FALSE(engine.callbacks.recordingLiveness) << "the engine drops its callbacks when recording ends";
    EXPECT_FALSE(rig.form->recorder().keyPressed(41, KeyCombo{})) << "presses reach the program again";
}

TEST(SliceForm, PressingRecordTwiceWritesNothing) {
    SliceFormRig rig;
    const Slice before = rig.form->slice();
    rig.form->pressRecord();
    rig.form->pressRecord();
    EXPECT_FALSE(rig.form->recorder().isRecording());
    EXPECT_FALSE(rig.rig.c().hotkeyManager().recording());
    EXPECT_EQ(rig.form->slice(), before);
}

TEST(SliceForm, TheEngineEndsARecordingNobodyIsWatching) {
    struct Case {
        const char* what;
        bool miniaturize;
        bool ended;
    };
    for (const Case& c : {Case{"window on screen", false, false}, Case{"window miniaturized", true, true}}) {
        SliceFormRig rig;
        rig.form->pressRecord();
        if (c.miniaturize) rig.rig.windows.miniaturize(AppWindows::Kind::main);
        rig.rig.queue.advance(4.5);
        EXPECT_TRUE(rig.form->recorder().isRecording()) << c.what << ": not before 5 s";
        rig.rig.queue.advance(2.0);
        EXPECT_EQ(!rig.form->recorder().isRecording(), c.ended) << c.what;
        EXPECT_EQ(!rig.rig.c().hotkeyManager().recording(), c.ended) << c.what;
        EXPECT_EQ(!rig.rig.c().isCapturingKeystroke, c.ended) << c.what;
    }
}

TEST(SliceForm, AFormThatGoesEndsItsRecording) {
    SliceFormRig rig;
    rig.form->pressRecord();
    rig.form.reset();
    EXPECT_FALSE(rig.rig.c().hotkeyManager().recording());
    EXPECT_FALSE(rig.rig.c().isCapturingKeystroke);
}

} // namespace
