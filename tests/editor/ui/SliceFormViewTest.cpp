#include "editor/ui/SliceFormView.h"

#include "editor/ui/ActionInput.h"
#include "editor/ui/GrowingTextField.h"
#include "editor/ui/InspectorCard.h"
#include "editor/ui/ResizableTextEditor.h"
#include "icons/ui/EmojiPickerField.h"
#include "icons/ui/IconViewArtifacts.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "store/ConfigStore.h"
#include "support/ContrastRatio.h"
#include "support/PaintChecks.h"
#include "support/SliceFormRig.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTest>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <tuple>

using namespace rondelix;
using rondelix::testsupport::commonestColour;
using rondelix::testsupport::contrastRatio;
using rondelix::testsupport::SliceFormRig;

namespace {

// How many clear columns lie between the end of a menu button's title and its
// arrow, the last mark inside its border.
int clearColumnsBeforeArrow(QPushButton& button) {
    const QImage look = button.grab().toImage().convertToFormat(QImage::Format_RGB32);
    std::vector<bool> inked;
    for (int x = 3; x < look.width() - 3; ++x) {
        bool ink = false;
        for (int y = 4; y < look.height() - 4; ++y)
            ink = ink || look.pixelColor(x, y).lightness() < 200;
        inked.push_back(ink);
    }
    auto at = std::find(inked.rbegin(), inked.rend(), true); // the arrow's right end
    at = std::find(at, inked.rend(), false);                 // its left end
    const auto title = std::find(at, inked.rend(), true);    // the title's last column
    return title == inked.rend() ? 0 : static_cast<int>(title - at);
}

struct ViewRig {
    SliceFormRig logic;
    QWidget window;
    SliceFormView* view;

    explicit ViewRig(SliceFormView::ChooseApp chooseApp = {}) {
        logic.clearSlot(0);
        view = new SliceFormView(*logic.services, SliceSlot{"default", 0}, std::move(chooseApp), &window);
        (new QVBoxLayout(&window))->addWidget(view);
        window.resize(460, 520);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    Slice slice() { return view->form().slice(); }
    template <typename W> W* find(const char* name) {
        return window.findChild<W*>(QString::fromLatin1(name));
    }
    void chooseAction(const char* title) {
        auto* kinds = find<QComboBox>("actionKind");
        const int index = kinds->findText(QString::fromUtf8(title));
        ASSERT_GE(index, 0) << title;
        kinds->setCurrentIndex(index);
        Q_EMIT kinds->activated(index);
    }
    void chooseIcon(const char* title) {
        auto* kinds = find<QComboBox>("iconKind");
        const int index = kinds->findText(QString::fromUtf8(title));
        kinds->setCurrentIndex(index);
        Q_EMIT kinds->activated(index);
    }
};

// The controls Tab reaches that a screen reader would announce with no name.
std::vector<std::string> unnamedControls(QWidget& window) {
    std::vector<std::string> unnamed;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (!control->isVisible() || !(control->focusPolicy() & Qt::TabFocus)) continue;
        QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(control);
        if (seen->text(QAccessible::Name).isEmpty() && seen->relations(QAccessible::Label).empty())
            unnamed.push_back(control->metaObject()->className() +
                              (" " + control->objectName().toStdString()));
    }
    return unnamed;
}

TEST(SliceFormView, TypingTheLabelWritesItLineBreaksIncluded) {
    ViewRig rig;
    auto* field = rig.find<GrowingTextField>("growingField");
    ASSERT_NE(field, nullptr);
    const int oneLine = field->height();
    QTest::keyClicks(field, QStringLiteral("Hi"));
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClicks(field, QStringLiteral("there"));
    EXPECT_EQ(rig.slice().label, "Hi\nthere");
    EXPECT_GT(field->height(), oneLine) << "a second line grows the field";
    rig.logic.store().undo();
    EXPECT_EQ(rig.slice().label, "") << "one undo step for the whole burst";
    EXPECT_EQ(field->toPlainText(), QString()) << "undo shows at once";
}

// Label, Icon and Action are captions in the secondary colour, ending at
// one edge of a 72-point column like the wheel card's.
TEST(SliceFormView, RowTitlesShareTheInspectorsColumn) {
    ViewRig rig;
    std::set<int> rightEdges;
    for (const char* title : {"Label", "Icon", "Action"}) {
        QLabel* caption = nullptr;
        for (QLabel* label : rig.window.findChildren<QLabel*>())
            if (label->text() == QLatin1String(title)) caption = label;
        ASSERT_TRUE(caption) << title;
        EXPECT_EQ(caption->width(), InspectorRowLabel::width) << title;
        EXPECT_TRUE(caption->alignment() & Qt::AlignRight) << title;
        EXPECT_LT(caption->font().weight(), QFont::DemiBold) << title;
        EXPECT_EQ(caption->palette().color(QPalette::WindowText),
                  caption->palette().color(QPalette::PlaceholderText))
            << title;
        rightEdges.insert(caption->geometry().right());
    }
    EXPECT_EQ(rightEdges.size(), 1u);
}

TEST(SliceFormView, EachActionKindShowsItsInput) {
    ViewRig rig([](QWidget*) { return std::optional<std::string>("org.example.Editor"); });
    rig.logic.rig.workspace.installed["org.example.Editor"] = "/usr/share/applications/Editor.desktop";
    rig.logic.rig.workspace.names["/usr/share/applications/Editor.desktop"] = "Text Editor";
    auto* warning = rig.find<QWidget>("unconfiguredWarning");
    struct Case {
        const char* input;
        bool warns;
    };
    const std::map<SliceFormKinds::ActionKind, Case> cases{
        {SliceFormKinds::ActionKind::url, {"linkField", true}},
        {SliceFormKinds::ActionKind::shortcut, {"automationName", true}},
        {SliceFormKinds::ActionKind::systemAction, {"systemActionMenu", false}},
        {SliceFormKinds::ActionKind::script, {"scriptExamples", true}},
        {SliceFormKinds::ActionKind::keystroke, {"comboDisplay", false}},
        {SliceFormKinds::ActionKind::openSettings, {"pageMenu", false}},
        {SliceFormKinds::ActionKind::app, {"appName", true}},
        {SliceFormKinds::ActionKind::text, {"resizableText", true}}};
    // Every kind the menu offers, so that one left out of the input table
    // shows up here as a kind with no input.
    for (const SliceFormKinds::ActionKind kind : SliceFormKinds::allActionKinds) {
        const std::string title(SliceFormKinds::title(kind));
        rig.chooseAction(title.c_str());
        QCoreApplication::processEvents();
        EXPECT_NE(rig.window.findChild<ActionInput*>(), nullptr) << title << " shows no input";
        const auto c = cases.find(kind);
        ASSERT_NE(c, cases.end()) << title << " has no case here";
        EXPECT_NE(rig.find<QWidget>(c->second.input), nullptr) << title;
        EXPECT_EQ(warning->isVisibleTo(&rig.window), c->second.warns) << title;
        EXPECT_EQ(rig.find<QLabel>("actionCaption")->text().isEmpty(), false);
        EXPECT_EQ(unnamedControls(rig.window), std::vector<std::string>{}) << title;
    }
    // One character of text ends the warning.
    rig.chooseAction("Text");
    QTest::keyClicks(rig.find<QPlainTextEdit>("resizableText"), QStringLiteral("x"));
    EXPECT_EQ(rig.slice().action, MacroAction(MacroAction::Text{"x"}));
    EXPECT_FALSE(warning->isVisibleTo(&rig.window));

    rig.chooseAction("App");
    EXPECT_EQ(rig.find<QLabel>("appName")->text(), QStringLiteral("No app chosen"));
    QTest::mouseClick(rig.find<QPushButton>("chooseApp"), Qt::LeftButton);
    EXPECT_EQ(rig.slice().action,
              MacroAction(MacroAction::App{"org.example.Editor", "/usr/share/applications/Editor.desktop"}));
    // The name the desktop entry gives, not its file's.
    EXPECT_EQ(rig.find<QLabel>("appName")->text(), QStringLiteral("Text Editor"));
    EXPECT_TRUE(rondelix::testsupport::saveIconArtifact(rig.window.grab().toImage(),
                                                        QStringLiteral("slice-form-app-row.png")));

    rig.chooseAction("System");
    auto* systemMenu = rig.find<QPushButton>("systemActionMenu");
    EXPECT_EQ(systemMenu->text(), QStringLiteral("Toggle Dark Mode"));
    QApplication::processEvents();
    EXPECT_GE(clearColumnsBeforeArrow(*systemMenu), 4) << "the menu's arrow touches the title";
    // What does nothing on this desktop is greyed, and says why.
    ASSERT_NE(systemMenu->menu(), nullptr);
    int greyed = 0;
    for (QAction* action : systemMenu->menu()->actions()) {
        if (action->isSeparator() || action->isEnabled()) continue;
        ++greyed;
        EXPECT_FALSE(action->toolTip().isEmpty()) << action->text().toStdString();
        EXPECT_NE(action->text(), QStringLiteral("Toggle Dark Mode"));
    }
    EXPECT_GE(greyed, 2);
    for (QAction* action : systemMenu->menu()->actions())
        EXPECT_FALSE(action->text().contains(QStringLiteral("Dock")) ||
                     action->text().contains(QStringLiteral("True Tone")) ||
                     action->text().contains(QStringLiteral("Stage Manager")))
            << action->text().toStdString();
    EXPECT_TRUE(rondelix::testsupport::saveIconArtifact(systemMenu->menu()->grab().toImage(),
                                                        QStringLiteral("system-action-menu.png")));
    // The menu scrolls on a small screen: its end is a picture of its own.
    systemMenu->menu()->popup(QPoint(0, 0));
    QTest::keyClick(systemMenu->menu(), Qt::Key_End);
    EXPECT_TRUE(rondelix::testsupport::saveIconArtifact(systemMenu->menu()->grab().toImage(),
                                                        QStringLiteral("system-action-menu-end.png")));
    systemMenu->menu()->hide();
    rig.chooseAction("Rondelix");
    EXPECT_EQ(rig.find<QPushButton>("pageMenu")->text(), QStringLiteral("Choose…"));
}

TEST(SliceFormView, AnActionOfANewerVersionIsNamedAndOffersNoInputUntilAKindIsChosen) {
    ViewRig rig;
    rig.view->form().setAction(MacroAction::Unknown{"teleport", R"({"teleport":{}})"});
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.find<QComboBox>("actionKind")->currentIndex(), -1);
    EXPECT_EQ(rig.find<QWidget>("resizableText"), nullptr);
    EXPECT_TRUE(rig.find<QWidget>("unconfiguredWarning")->isVisibleTo(&rig.window));
    const auto texts = rig.find<QWidget>("unconfiguredWarning")->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [](const QLabel* label) {
        return label->text() == QStringLiteral("This slice needs a newer version of Rondelix.");
    }));

    rig.chooseAction("Text");
    EXPECT_EQ(rig.slice().action, MacroAction(MacroAction::Text{""}));
    EXPECT_NE(rig.find<QWidget>("resizableText"), nullptr);
}

TEST(SliceFormView, IconKindsShowTheirChooser) {
    ViewRig rig;
    rig.chooseIcon("Symbol");
    ASSERT_NE(rig.find<QWidget>("symbolRow"), nullptr);
    EXPECT_EQ(rig.find<QWidget>("symbolRow")->findChild<QLabel*>("chooserName")->text(),
              QStringLiteral("star.fill"));
    rig.chooseIcon("Emoji");
    QCoreApplication::processEvents();
    ASSERT_NE(rig.window.findChild<EmojiPickerField*>(), nullptr);
    EXPECT_EQ(rig.window.findChild<EmojiPickerField*>()->emoji(), "✨");
    rig.chooseIcon("Image");
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.find<QWidget>("imageRow")->findChild<QLabel*>("chooserName")->text(),
              QStringLiteral("No image chosen"));
    rig.chooseIcon("None");
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.find<QWidget>("imageRow"), nullptr);
    EXPECT_EQ(rig.slice().icon, Icon(Icon::None{}));
}

// The gallery's terminal wheel opens a new window with a symbol named for
// another system; the card names it for what it draws and stores the name.
TEST(SliceFormView, ASymbolOfAnotherSystemIsNamedForWhatItDraws) {
    ViewRig rig;
    rig.view->form().setIcon(Icon::SfSymbol{"macwindow.badge.plus"});
    QCoreApplication::processEvents();
    QLabel* name = rig.find<QWidget>("symbolRow")->findChild<QLabel*>("chooserName");
    EXPECT_EQ(name->text().toStdString(), "window with plus");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(name)->text(QAccessible::Name).toStdString(),
              "window with plus");
    EXPECT_EQ(rig.slice().icon, Icon(Icon::SfSymbol{"macwindow.badge.plus"}));
}

TEST(SliceFormView, RecordsCtrlShiftKAndKeepsCtrlZFromUndoing) {
    ViewRig rig;
    int undos = 0;
    auto* undo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), &rig.window);
    QObject::connect(undo, &QShortcut::activated, [&] { ++undos; });
    rig.chooseAction("Keystroke");
    auto* record = rig.find<QPushButton>("recordButton");
    ASSERT_NE(record, nullptr);

    QTest::mouseClick(record, Qt::LeftButton);
    EXPECT_EQ(record->text(), QStringLiteral("Press a key…"));
    EXPECT_TRUE(rig.logic.rig.c().isCapturingKeystroke);
    QTest::keyClick(&rig.window, Qt::Key_Shift, Qt::ShiftModifier);
    EXPECT_TRUE(rig.view->form().recorder().isRecording()) << "a modifier alone is no key";
    QTest::keyClick(rig.find<QLineEdit>("keyField"), Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(rig.slice().action,
              MacroAction(MacroAction::Keystroke{KeyCombo{40, false, true, false, true}}));
    EXPECT_EQ(rig.find<QLabel>("comboDisplay")->text(), QStringLiteral("Ctrl+Shift+K"));
    EXPECT_EQ(record->text(), QStringLiteral("Record"));
    EXPECT_EQ(rig.find<QLineEdit>("keyField")->text(), QStringLiteral("K"))
        << "the K did not reach the field";
    EXPECT_TRUE(rig.find<QPushButton>("modifierCtrl")->isChecked());
    EXPECT_TRUE(rig.find<QPushButton>("modifierShift")->isChecked());
    EXPECT_FALSE(rig.find<QPushButton>("modifierAlt")->isChecked());
    // On and off tell apart at a glance, and the title of one that is on reads.
    const QImage on = rig.find<QPushButton>("modifierShift")->grab().toImage();
    const QColor onFill = commonestColour(on);
    EXPECT_GE(contrastRatio(onFill, commonestColour(rig.find<QPushButton>("modifierAlt")->grab().toImage())),
              3.0);
    double title = 1;
    for (int y = 0; y < on.height(); ++y)
        for (int x = 0; x < on.width(); ++x)
            title = std::max(title, contrastRatio(on.pixelColor(x, y), onFill));
    EXPECT_GE(title, 4.5);
    QCoreApplication::processEvents();
    if (!rondelix::testsupport::saveIconArtifact(rig.window.grab().toImage(),
                                                 QStringLiteral("slice-form.png")))
        ADD_FAILURE() << "artifact not written";

    QTest::mouseClick(record, Qt::LeftButton);
    QTest::keyClick(&rig.window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undos, 0);
    EXPECT_EQ(rig.slice().action,
              MacroAction(MacroAction::Keystroke{KeyCombo{6, false, false, false, true}}));
    QTest::keyClick(&rig.window, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(undos, 1) << "after the capture the shortcut works again";

    // Super is kept as Super, never turned into the Ctrl it is not.
    QTest::mouseClick(record, Qt::LeftButton);
    QTest::keyClick(&rig.window, Qt::Key_J, Qt::MetaModifier);
    EXPECT_EQ(rig.slice().action,
              MacroAction(MacroAction::Keystroke{KeyCombo{.keyCode = 38, .super = true}}));
    EXPECT_EQ(rig.find<QLabel>("comboDisplay")->text(), QStringLiteral("Super+J"));
    EXPECT_TRUE(rig.find<QPushButton>("modifierSuper")->isChecked());
    EXPECT_FALSE(rig.find<QPushButton>("modifierCtrl")->isChecked());
}

// The lock and print keys are keys like any other, never taken for a
// modifier pressed alone.
TEST(SliceFormView, RecordsScrollLockPauseAndPrintScreenByTheirNames) {
    ViewRig rig;
    rig.chooseAction("Keystroke");
    auto* record = rig.find<QPushButton>("recordButton");
    for (const auto& [key, code, name] :
         {std::tuple{Qt::Key_ScrollLock, 112, "Scroll Lock"}, std::tuple{Qt::Key_Pause, 66, "Pause"},
          std::tuple{Qt::Key_Print, 108, "Print Screen"}}) {
        QTest::mouseClick(record, Qt::LeftButton);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier,
                        platform::sim::SimKeyboardLayout::nativeCodeOffset + code, 0, 0);
        QApplication::sendEvent(&rig.window, &press);
        EXPECT_FALSE(rig.view->form().recorder().isRecording()) << name;
        EXPECT_EQ(rig.slice().action, MacroAction(MacroAction::Keystroke{KeyCombo{.keyCode = code}})) << name;
        EXPECT_EQ(rig.find<QLabel>("comboDisplay")->text(), QString::fromUtf8(name));
    }
}

TEST(SliceFormView, TheKeyFieldTakesATypedCharacterOnly) {
    ViewRig rig;
    rig.chooseAction("Keystroke");
    auto* key = rig.find<QLineEdit>("keyField");
    key->end(false);
    QTest::keyClicks(key, QStringLiteral("v"));
    EXPECT_EQ(rig.slice().action,
              MacroAction(MacroAction::Keystroke{KeyCombo{9, true, false, false, false}}));
    EXPECT_EQ(key->text(), QStringLiteral("V"));
    QKeyEvent accented(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("é"));
    QApplication::sendEvent(key, &accented);
    EXPECT_EQ(rig.slice().action,
              MacroAction(MacroAction::Keystroke{KeyCombo{9, true, false, false, false}}));
    EXPECT_EQ(key->text(), QStringLiteral("V"));
    QTest::mouseClick(rig.find<QPushButton>("modifierShift"), Qt::LeftButton);
    EXPECT_EQ(rig.find<QLabel>("comboDisplay")->text(), QStringLiteral("Ctrl+Shift+V"));
}

TEST(SliceFormView, APastedMegabyteIsWrittenOnceTypingPauses) {
    ViewRig rig;
    std::string pasted;
    for (int line = 0; line < 16 * 1024; ++line)
        pasted.append(63, 'x').push_back('\n');
    rig.view->form().setAction(MacroAction::Script{pasted});
    auto* editor = rig.find<QPlainTextEdit>("resizableText");
    ASSERT_NE(editor, nullptr);
    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, QStringLiteral("yz"));
    EXPECT_EQ(rig.slice().action, MacroAction(MacroAction::Script{pasted})) << "held while typing";
    rig.window.hide();
    EXPECT_EQ(rig.slice().action, MacroAction(MacroAction::Script{pasted + "yz"})) << "handed over on hiding";

    rig.window.show();
    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, QStringLiteral("!"));
    // The paste and the typing after it were one burst: one undo step back to
    // the empty text. The character still waiting is dropped, not written later.
    rig.logic.store().undo();
    EXPECT_EQ(rig.slice().action, MacroAction(MacroAction::Text{""}));
    rig.window.hide();
    EXPECT_EQ(rig.slice().action, MacroAction(MacroAction::Text{""}));
}

TEST(ResizableTextEditor, TheGripDragsTheHeightBetweenItsBounds) {
    QWidget window;
    auto* editor = new ResizableTextEditor({}, 70, 600, 96, &window);
    window.resize(300, 700);
    window.show();
    QWidget* grip = editor->grip();
    EXPECT_EQ(grip->toolTip(), QStringLiteral("Drag to resize"));
    const auto drag = [&](int dy) {
        const QPoint start = grip->rect().center();
        // One move: the grip follows the editor's edge, so later points of
        // the same drag would be measured from where it went.
        QTest::mousePress(grip, Qt::LeftButton, {}, start);
        QTest::mouseMove(grip, start + QPoint(0, dy));
        QTest::mouseRelease(grip, Qt::LeftButton, {}, grip->rect().center());
    };
    drag(-200);
    EXPECT_EQ(editor->editorHeight(), 70);
    drag(1000);
    EXPECT_EQ(editor->editorHeight(), 600);
    drag(-100);
    EXPECT_EQ(editor->editorHeight(), 500) << "a new drag starts from the height reached";

    // Once the text overflows, the grip sits below the scroll bar, on top and
    // taking the clicks, and still drags.
    drag(-400);
    editor->setText(QString("echo line\n").repeated(40));
    QApplication::processEvents();
    const QScrollBar* bar = editor->editor()->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    const QRect gripArea(grip->mapTo(&window, QPoint()), grip->size());
    EXPECT_FALSE(QRect(bar->mapTo(&window, QPoint()), bar->size()).intersects(gripArea));
    EXPECT_EQ(window.childAt(gripArea.center()), grip);
    window.grab(QRect(editor->mapTo(&window, QPoint()), editor->size()))
        .save(QCoreApplication::applicationDirPath() + "/artifacts/editor-grip-overflow.png");
    drag(50);
    EXPECT_EQ(editor->editorHeight(), 150);
}

} // namespace
