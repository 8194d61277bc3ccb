#include "icons/ui/EmojiPickerField.h"

#include "icons/ui/EmojiPopup.h"
#include "icons/ui/IconViewArtifacts.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace rondelix;

namespace {

struct FieldRig {
    std::vector<std::string> changes;
    QWidget window;
    EmojiPickerField* field =
        new EmojiPickerField([this](const std::string& e) { changes.push_back(e); }, &window);

    FieldRig() {
        window.resize(260, 48);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    QLineEdit* edit() { return field->findChild<QLineEdit*>(QStringLiteral("emojiField")); }
    // Types text as one key press, as an input method or palette hands over an emoji.
    void type(const QString& text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(edit(), &press);
    }
};

TEST(EmojiPickerField, HoldsOneEmoji) {
    FieldRig rig;
    rig.field->setEmoji("😀");
    EXPECT_TRUE(rig.changes.empty()) << "showing the caller's emoji is no edit";
    rig.edit()->end(false);

    struct Step {
        QString typed;
        std::string kept;
    };
    for (const Step& step : {Step{"😃", "😃"}, Step{"👍🏽", "👍🏽"}, Step{"🇫🇷", "🇫🇷"},
                             Step{"👨‍👩‍👧", "👨‍👩‍👧"}}) {
        rig.type(step.typed);
        EXPECT_EQ(rig.field->emoji(), step.kept);
        EXPECT_EQ(rig.changes.back(), step.kept);
    }

    QApplication::clipboard()->setText(QStringLiteral("abc"));
    rig.edit()->selectAll();
    QTest::keyClick(rig.edit(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(rig.field->emoji(), "c");
    EXPECT_EQ(rig.changes.back(), "c");

    rig.edit()->end(false);
    QTest::keyClick(rig.edit(), Qt::Key_Backspace);
    EXPECT_EQ(rig.field->emoji(), "");
    EXPECT_EQ(rig.changes.back(), "");
    EXPECT_EQ(rig.field->findChild<QPushButton*>()->toolTip(), QStringLiteral("Open the emoji picker"));
}

TEST(EmojiPickerField, ChooseEmojiFocusesTheFieldThenOpensThePopup) {
    FieldRig rig;
    rig.field->setEmoji("😀");
    auto* choose = rig.field->findChild<QPushButton*>(QStringLiteral("chooseEmoji"));
    QTest::mouseClick(choose, Qt::LeftButton);
    EXPECT_TRUE(rig.edit()->hasFocus());
    EXPECT_EQ(rig.field->popup(), nullptr) << "the popup waits for the next turn of the event loop";
    QCoreApplication::processEvents();
    EmojiPopup* popup = rig.field->popup();
    ASSERT_NE(popup, nullptr);
    ASSERT_FALSE(popup->shownEmoji().empty());
    EXPECT_TRUE(
        rondelix::testsupport::saveIconArtifact(popup->grab().toImage(), QStringLiteral("emoji-popup.png")));

    QTest::keyClicks(popup->findChild<QLineEdit*>(QStringLiteral("emojiSearch")),
                     QStringLiteral("red heart"));
    ASSERT_FALSE(popup->shownEmoji().empty());
    const std::string chosen = popup->shownEmoji().front().text;
    EXPECT_EQ(chosen, "❤️");
    auto* grid = popup->findChild<QListView*>(QStringLiteral("emojiGrid"));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(0, 0)).center());
    EXPECT_EQ(rig.field->emoji(), chosen);
    EXPECT_EQ(rig.changes, std::vector<std::string>{chosen});
}

} // namespace
