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

// Backspace after the emoji (Shift or Super held or not), or Delete before
// it, takes it whole: a half left behind would be saved as a broken or
// different emoji.
TEST(EmojiPickerField, DeletingTakesTheWholeCharacter) {
    const std::vector<std::string> clusters{"👨‍👩‍👧", "👍🏽", "🇫🇷", "1️⃣",
                                            "e\xCC\x81",          "a"};
    const std::pair<Qt::Key, Qt::KeyboardModifier> presses[] = {{Qt::Key_Backspace, Qt::NoModifier},
                                                                {Qt::Key_Backspace, Qt::ShiftModifier},
                                                                {Qt::Key_Backspace, Qt::MetaModifier},
                                                                {Qt::Key_Delete, Qt::NoModifier}};
    for (const std::string& cluster : clusters) {
        for (const auto& [key, modifier] : presses) {
            FieldRig rig;
            rig.edit()->setFocus();
            QApplication::clipboard()->setText(QString::fromStdString(cluster));
            QTest::keyClick(rig.edit(), Qt::Key_V, Qt::ControlModifier);
            ASSERT_EQ(rig.field->emoji(), cluster);
            if (key == Qt::Key_Delete) rig.edit()->home(false);
            QTest::keyClick(rig.edit(), key, modifier);
            EXPECT_EQ(rig.field->emoji(), "") << cluster << " " << key << " " << modifier;
            EXPECT_EQ(rig.changes.back(), "") << cluster << " " << key << " " << modifier;
        }
    }
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

// Keyboard alone: Space on the button opens the popup, Down leaves its search
// for the grid, the arrows move the current cell, Space or Return picks it and
// Esc closes without a pick.
TEST(EmojiPickerField, TheKeyboardPicksFromThePopup) {
    FieldRig rig;
    rig.field->setEmoji("😀");
    auto* choose = rig.field->findChild<QPushButton*>(QStringLiteral("chooseEmoji"));
    const auto open = [&] {
        choose->setFocus();
        QTest::keyClick(choose, Qt::Key_Space);
        QCoreApplication::processEvents();
        EmojiPopup* popup = rig.field->popup();
        if (popup) QApplication::setActiveWindow(popup);
        return popup;
    };
    struct Case {
        Qt::Key pick;
        std::size_t row;
    };
    for (const Case& c : {Case{Qt::Key_Space, 1}, Case{Qt::Key_Return, 0}}) {
        EmojiPopup* popup = open();
        ASSERT_NE(popup, nullptr);
        auto* search = popup->findChild<QLineEdit*>(QStringLiteral("emojiSearch"));
        auto* grid = popup->findChild<QListView*>(QStringLiteral("emojiGrid"));
        QTest::keyClick(search, Qt::Key_Down);
        ASSERT_TRUE(grid->hasFocus());
        for (std::size_t i = 0; i < c.row; ++i)
            QTest::keyClick(grid, Qt::Key_Right);
        if (c.row == 1) {
            EXPECT_TRUE(rondelix::testsupport::saveIconArtifact(
                popup->grab().toImage(), QStringLiteral("emoji-popup-current-cell.png")));
        }
        const std::string expected = popup->shownEmoji()[c.row].text;
        QTest::keyClick(grid, c.pick);
        EXPECT_EQ(rig.field->emoji(), expected);
        EXPECT_EQ(rig.changes.back(), expected);
        QCoreApplication::processEvents();
        EXPECT_EQ(rig.field->popup(), nullptr);
    }

    const std::size_t edits = rig.changes.size();
    EmojiPopup* popup = open();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup->findChild<QLineEdit*>(QStringLiteral("emojiSearch")), Qt::Key_Down);
    QTest::keyClick(popup->findChild<QListView*>(QStringLiteral("emojiGrid")), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.field->popup(), nullptr);
    EXPECT_EQ(rig.changes.size(), edits);
}

} // namespace
