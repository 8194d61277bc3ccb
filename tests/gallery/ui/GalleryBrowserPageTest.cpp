#include "gallery/ui/GalleryBrowserPage.h"

#include "app/ui/GalleryWiring.h"
#include "gallery/AddWheelReview.h"
#include "gallery/ui/GalleryRowList.h"
#include "gallery/ui/GalleryToastView.h"
#include "icons/FaviconCache.h"
#include "icons/ui/FaviconImages.h"
#include "model/DefaultConfig.h"
#include "overlay/ui/SliceIconSources.h"
#include "overlay/ui/WheelGraphic.h"
#include "qtshared/ElidingLabel.h"
#include "qtshared/FadingPicture.h"
#include "support/ContrastRatio.h"
#include "support/CoordinatorRig.h"
#include "support/PaintChecks.h"
#include "support/WidgetsShownWhole.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QVariantAnimation>
#include <gtest/gtest.h>

namespace rondelix::testsupport {
namespace {

class GalleryPage : public ::testing::Test {
  protected:
    // Motion stays off unless a test looks at it: views then change at once.
    void open(bool reduceMotion = true) {
        rig.screens.options.reduceMotion = reduceMotion;
        rig.open();
        rig.queue.advance(2);
        page.reset(makeGalleryPage({rig.c(), *icons}, 420, nullptr));
        page->resize(1100, 760);
        page->show();
        rig.background.runAll();
        rig.queue.advance(0);
    }

    bool showsText(const QString& text) {
        for (QLabel* label : page->findChildren<QLabel*>())
            if (label->isVisibleTo(page.get()) && label->text() == text) return true;
        return false;
    }
    std::vector<std::string> wheelNames() {
        std::vector<std::string> names;
        for (const Wheel& wheel : rig.c().configStore().config().wheels)
            names.push_back(wheel.name);
        return names;
    }
    std::string toast() {
        const auto& shown = page->model().toast().current();
        return shown ? shown->message : "";
    }
    void saveScreenshot(QWidget* widget, const QString& name) {
        const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
        QDir().mkpath(folder);
        EXPECT_TRUE(widget->grab().save(folder + "/" + name));
    }
    // Every fade at its end, and what faded out gone.
    void finishFades() {
        for (auto* fade : page->findChildren<QVariantAnimation*>())
            fade->setCurrentTime(fade->totalDuration());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    // The middle of the top slot of the stage's wheel.
    QPoint topSlot() {
        QWidget* wheel = page->preview();
        return QPoint(wheel->width() / 2, wheel->height() / 2 - static_cast<int>(page->wheelSize() * 0.36));
    }

    CoordinatorRig rig;
    std::unique_ptr<SliceIconSources> icons = std::make_unique<SliceIconSources>();
    std::unique_ptr<GalleryBrowserPage> page;
};

TEST_F(GalleryPage, SearchAndCategoriesChooseWhatIsListed) {
    rig.workspace.installed["org.keepassxc.keepassxc"] = "/usr/share/applications/keepassxc.desktop";
    open();
    // The installed check has come back: KeePassXC leads Apps and is chosen.
    EXPECT_EQ(page->model().state().selectedId(), "gallery-keepassxc");
    ASSERT_TRUE(page->wheelButton("gallery-zoom"));
    EXPECT_TRUE(page->wheelButton("gallery-zoom")->isFaded()); // not installed
    EXPECT_FALSE(page->wheelButton("gallery-keepassxc")->isFaded());
    EXPECT_EQ(page->wheelButton("gallery-keepassxc")->toolTip(), "Installed");
    EXPECT_LT(page->wheelButton("gallery-keepassxc")->y(), page->wheelButton("gallery-apple-mail")->y());
    saveScreenshot(page.get(), "gallery-page.png");

    QTest::keyClicks(page->searchField(), "slack");
    EXPECT_TRUE(page->wheelButton("gallery-slack"));
    EXPECT_FALSE(page->wheelButton("gallery-zoom"));
    EXPECT_TRUE(page->clearButton()->isVisibleTo(page.get()));

    page->searchField()->setText("no such wheel at all");
    EXPECT_TRUE(showsText("No wheels match"));
    EXPECT_TRUE(showsText("No match"));
    EXPECT_FALSE(page->addButton()->isVisibleTo(page.get()));

    QTest::mouseClick(page->clearButton(), Qt::LeftButton);
    EXPECT_EQ(page->searchField()->text(), "");
    EXPECT_TRUE(page->wheelButton("gallery-zoom"));

    page->searchField()->setText("wordle");
    QTest::mouseClick(page->categoryButton(GalleryWheel::Category::system), Qt::LeftButton);
    EXPECT_EQ(page->searchField()->text(), "");
    EXPECT_EQ(page->model().state().selectedId(), "gallery-system");
    QTest::mouseClick(page->wheelButton("gallery-power-lock"), Qt::LeftButton);
    EXPECT_EQ(page->model().state().selectedId(), "gallery-power-lock");
}

// A row's "&" is part of its name: read once, and no Alt key of its own.
TEST_F(GalleryPage, ARowNamedWithAnAmpersandReadsItOnceAndTakesNoAltKey) {
    open();
    QStringList heard;
    for (auto* list : page->findChildren<GalleryRowList*>())
        if (list->accessibleName() == "Categories") {
            QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(list);
            for (int i = 0; i < seen->childCount(); ++i)
                heard << seen->child(i)->text(QAccessible::Name);
        }
    EXPECT_TRUE(heard.contains("Web & AI")) << heard.join('|').toStdString();
    EXPECT_TRUE(page->categoryButton(GalleryWheel::Category::web)->shortcut().isEmpty());
}

// The keyboard crosses the page in screen order, each list one stop with Up
// and Down in the order the rows show, on to Add to My Wheels and the stage's
// wheel; screen readers hear both lists, and the stage's wheel with the slice
// under the pointer.
TEST_F(GalleryPage, TheKeyboardCrossesTheListsInScreenOrderAndReachesAdd) {
    rig.workspace.installed["org.keepassxc.keepassxc"] = "/usr/share/applications/keepassxc.desktop";
    open();
    QApplication::setActiveWindow(page.get());
    page->searchField()->setFocus();
    std::vector<QWidget*> stops;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        stops.push_back(QApplication::focusWidget());
    }
    ASSERT_EQ(stops.size(), 4u);
    QWidget* categories = stops[0];
    QWidget* wheels = stops[1];
    EXPECT_EQ(categories->accessibleName(), "Categories");
    EXPECT_EQ(wheels->accessibleName(), "Wheels");
    EXPECT_EQ(stops[2], page->addButton());
    EXPECT_EQ(stops[3], page->preview());

    const auto allCategories = WheelGallery::categories();
    categories->setFocus();
    QTest::keyClick(categories, Qt::Key_End);
    QTest::keyClick(categories, Qt::Key_Up);
    EXPECT_EQ(page->model().state().selectedCategory(), allCategories[allCategories.size() - 2]);
    QTest::keyClick(categories, Qt::Key_Home);
    EXPECT_EQ(page->model().state().selectedCategory(), allCategories.front());

    // Apps lists the installed KeePassXC first, out of catalogue order.
    const auto listed = page->model().state().displayedWheels();
    ASSERT_GT(listed.size(), 3u);
    EXPECT_EQ(listed.front()->id, "gallery-keepassxc");
    wheels->setFocus();
    QTest::keyClick(wheels, Qt::Key_Home);
    int above = -1;
    for (std::size_t i = 0; i < listed.size(); ++i) {
        SCOPED_TRACE(listed[i]->id);
        EXPECT_EQ(page->model().state().selectedId(), listed[i]->id);
        GalleryListRow* row = page->wheelButton(listed[i]->id);
        ASSERT_TRUE(row);
        EXPECT_GT(row->y(), above);
        above = row->y();
        EXPECT_FALSE(row->visibleRegion().isEmpty()) << "the list scrolls to the chosen row";
        QTest::keyClick(wheels, Qt::Key_Down);
    }
    EXPECT_EQ(page->model().state().selectedId(), listed.back()->id);
    QTest::keyClick(wheels, Qt::Key_Up);
    finishFades();
    saveScreenshot(page.get(), "gallery-focused-row.png");
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(wheels);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), static_cast<int>(listed.size()));
    EXPECT_EQ(list->child(0)->text(QAccessible::Name), "KeePassXC, 8 actions, Installed");
    const int chosen = static_cast<int>(listed.size()) - 2;
    EXPECT_EQ(list->focusChild(), list->child(chosen));
    EXPECT_TRUE(list->child(chosen)->state().selected);

    QTest::mouseMove(page->preview(), topSlot());
    QAccessibleInterface* stage = QAccessible::queryAccessibleInterface(page->preview());
    ASSERT_TRUE(stage);
    const Wheel shown = *page->model().previewWheel();
    EXPECT_EQ(stage->text(QAccessible::Name), QString::fromStdString(shown.name) + " preview");
    const auto top = std::ranges::find(shown.slices, 0, &Slice::position);
    ASSERT_NE(top, shown.slices.end());
    EXPECT_EQ(stage->text(QAccessible::Value), QString::fromStdString(top->label));

    page->addButton()->setFocus();
    QTest::keyClick(page->addButton(), Qt::Key_Space);
    ASSERT_TRUE(page->sheet());
    EXPECT_EQ(page->model().sheetWheel(), listed[static_cast<std::size_t>(chosen)]);
}

// Typing shows the clear button without moving anything, and a new accent
// colours the stage's wheel at once, not only once another wheel is chosen.
TEST_F(GalleryPage, TheSearchFieldKeepsItsPlaceAndTheStageFollowsTheAccent) {
    open();
    QApplication::processEvents();
    const QRect field(page->searchField()->mapTo(page.get(), QPoint()), page->searchField()->size());
    const auto listTop = [&] {
        return page->categoryButton(GalleryWheel::Category::apps)->mapTo(page.get(), QPoint()).y();
    };
    const int top = listTop();
    QTest::keyClicks(page->searchField(), "a");
    QApplication::processEvents();
    ASSERT_TRUE(page->clearButton()->isVisible());
    EXPECT_EQ(QRect(page->searchField()->mapTo(page.get(), QPoint()), page->searchField()->size()), field);
    EXPECT_EQ(listTop(), top);
    saveScreenshot(page.get(), "gallery-search-typed.png");

    const auto stageAccent = [&] { return page->findChild<WheelGraphic*>()->inputs().accent; };
    rig.c().configStore().mutate([](Config& c) { c.behavior.accentHex = "#FF2D55"; });
    EXPECT_EQ(stageAccent(), Color::fromHex("#FF2D55"));
    saveScreenshot(page.get(), "gallery-accent-stage.png");
}

TEST_F(GalleryPage, AClickFadesTheRowsAndTheStageAndGlassClearsTheStage) {
    open();
    QTest::mouseClick(page->categoryButton(GalleryWheel::Category::system), Qt::LeftButton);
    GalleryListRow* before = page->wheelButton("gallery-system");
    GalleryListRow* after = page->wheelButton("gallery-power-lock");
    ASSERT_TRUE(before && after);
    finishFades();
    const auto fill = [](GalleryListRow* row) {
        return qBlue(row->grab().toImage().pixel(5, row->height() / 2)) -
               qRed(row->grab().toImage().pixel(5, row->height() / 2));
    };
    const int selected = fill(before), plain = fill(after);
    ASSERT_GT(selected, plain + 20);

    // Half way through the 0.2 s fade both rows show half their fill, and
    // the wheel that was on the stage half of itself over the new one.
    QTest::mouseClick(after, Qt::LeftButton);
    for (GalleryListRow* row : {before, after}) {
        auto* rowFade = row->findChild<QVariantAnimation*>();
        ASSERT_TRUE(rowFade);
        rowFade->setCurrentTime(100);
    }
    EXPECT_NEAR(fill(before), (selected + plain) / 2, 4);
    EXPECT_NEAR(fill(after), (selected + plain) / 2, 4);
    auto* leaving = page->stageSquare()->findChild<FadingPicture*>("leavingPreview");
    ASSERT_TRUE(leaving);
    auto* fade = leaving->findChild<QPropertyAnimation*>();
    fade->setCurrentTime(110);
    EXPECT_NEAR(leaving->opacity(), 0.5, 0.02);
    // A switch back meanwhile fades one picture, not one over the other.
    QTest::mouseClick(before, Qt::LeftButton);
    ASSERT_EQ(page->stageSquare()->findChildren<FadingPicture*>().size(), 1);
    leaving = page->stageSquare()->findChild<FadingPicture*>("leavingPreview");
    fade = leaving->findChild<QPropertyAnimation*>();
    fade->setCurrentTime(fade->totalDuration());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(page->stageSquare()->findChild<FadingPicture*>("leavingPreview"));

    // With nothing on the stage its disc shows: opaque, or clear under glass.
    page->searchField()->setText("no such wheel at all");
    const auto discAlpha = [this] {
        QWidget* square = page->stageSquare();
        QImage image(square->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        square->render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
        return qAlpha(image.pixel(square->width() / 2, square->height() / 4));
    };
    EXPECT_EQ(discAlpha(), 255);
    rig.c().configStore().mutate([](Config& c) { c.behavior.liquidGlassEnabled = true; });
    EXPECT_LT(discAlpha(), 128);
    // Where the window cannot show through (high contrast, no compositor)
    // the stage keeps its opaque disc.
    rig.screens.options.reduceTransparency = true;
    EXPECT_EQ(discAlpha(), 255);
    rig.screens.options.reduceTransparency = false;
    for (auto* ending : page->findChildren<QVariantAnimation*>())
        ending->setCurrentTime(ending->totalDuration());
    QCoreApplication::processEvents();
    saveScreenshot(page.get(), "gallery-glass-stage.png");
}

TEST_F(GalleryPage, ClickingOrAimingAtAPreviewSliceTriesIt) {
    open(false);
    QTest::mouseClick(page->categoryButton(GalleryWheel::Category::fun), Qt::LeftButton);
    QTest::mouseClick(page->wheelButton("gallery-time-killers"), Qt::LeftButton);
    ASSERT_TRUE(page->preview());
    QTest::mouseClick(page->preview(), Qt::LeftButton, {}, topSlot());
    EXPECT_EQ(toast(), "Opening www.nytimes.com\u2026");
    EXPECT_EQ(rig.workspace.openedLinks,
              std::vector<std::string>{"https://www.nytimes.com/games/wordle/index.html"});
    // It slides in from the bottom edge.
    EXPECT_TRUE(page->toastView()->isVisible());
    EXPECT_GT(page->toastView()->y() + page->toastView()->height(), page->height() - 20);

    QTest::mouseClick(page->wheelButton("gallery-kaomoji"), Qt::LeftButton);
    const auto before = rig.c().configStore().config();
    QTest::mouseClick(page->preview(), Qt::LeftButton, {}, topSlot());
    EXPECT_EQ(toast(), "Types \u201C( \u0361\u00B0 \u035C\u0296 \u0361\u00B0)\u201D into the app you're in");
    EXPECT_EQ(rig.pasteboard.writes, 0);
    EXPECT_EQ(rig.c().configStore().config(), before);
    rig.queue.advance(2.5);
    EXPECT_FALSE(page->model().toast().current());

    // From the keyboard the arrows aim, round past the top, the wheel tells a
    // screen reader the slice aimed at, and Return tries it.
    QTest::mouseClick(page->wheelButton("gallery-time-killers"), Qt::LeftButton);
    rig.workspace.openedLinks.clear();
    QApplication::setActiveWindow(page.get());
    page->preview()->setFocus(Qt::TabFocusReason);
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Right})
        QTest::keyClick(page->preview(), key);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(page->preview())->text(QAccessible::Value), "2048");
    finishFades();
    saveScreenshot(page.get(), "gallery-aimed-slot.png");
    QTest::keyClick(page->preview(), Qt::Key_Return);
    EXPECT_EQ(rig.workspace.openedLinks, std::vector<std::string>{"https://play2048.co"});
}

TEST_F(GalleryPage, AddingThroughTheSheetAndUndoingFromTheToast) {
    open();
    const auto namesBefore = wheelNames();
    QTest::mouseClick(page->wheelButton("gallery-slack"), Qt::LeftButton);
    QTest::mouseClick(page->addButton(), Qt::LeftButton);
    ASSERT_TRUE(page->sheet());
    EXPECT_EQ(page->sheet()->trustNote()->text(), "Official Rondelix wheel");
    EXPECT_EQ(page->sheet()->height(),
              static_cast<int>(AddWheelReview::sheetHeight(page->screen()->availableGeometry().height())));
    saveScreenshot(page->sheet(), "gallery-add-sheet.png");

    QTest::mouseClick(page->sheet()->addButton(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(page->sheet() && page->sheet()->isVisible());
    auto names = wheelNames();
    ASSERT_EQ(names.size(), namesBefore.size() + 1);
    EXPECT_EQ(names.back(), "Slack");
    EXPECT_EQ(toast(), "Added \u201CSlack\u201D to My Wheels");
    EXPECT_EQ(rig.c().configStore().config().wheels.back().appBundleIdentifier, "com.tinyspeck.slackmacgap");
    saveScreenshot(page.get(), "gallery-added-toast.png");

    QTest::mouseClick(page->toastView()->undoButton(), Qt::LeftButton);
    EXPECT_EQ(wheelNames(), namesBefore);
    EXPECT_FALSE(page->toastView()->isVisible());

    // Cancel leaves everything as it was.
    QTest::mouseClick(page->addButton(), Qt::LeftButton);
    ASSERT_TRUE(page->sheet());
    QTest::mouseClick(page->sheet()->cancelButton(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(page->model().sheetWheel());
    EXPECT_EQ(wheelNames(), namesBefore);
}

// The toast is a capsule: View and Undo stand apart from the sentence, View
// in the accent colour; once it has slid out it leaves the page as it was.
TEST_F(GalleryPage, TheToastIsACapsuleThatLeavesNothingBehind) {
    open(false);
    QTest::mouseClick(page->wheelButton("gallery-slack"), Qt::LeftButton);
    const auto settle = [&] {
        for (auto* motion : page->findChildren<QAbstractAnimation*>())
            if (motion->state() == QAbstractAnimation::Running)
                motion->setCurrentTime(motion->totalDuration());
        QApplication::processEvents();
    };
    settle();
    // The sheet takes the focus on its way: the list's focus ring is not the toast's to leave.
    if (QWidget* focused = page->window()->focusWidget()) focused->clearFocus();
    const QImage before = page->grab().toImage();
    QTest::mouseClick(page->addButton(), Qt::LeftButton);
    ASSERT_TRUE(page->sheet());
    QTest::mouseClick(page->sheet()->addButton(), Qt::LeftButton);
    settle();
    GalleryToastView* toast = page->toastView();
    ASSERT_TRUE(toast->isVisible());
    const QRect capsule = toast->capsule().translated(toast->pos());
    EXPECT_EQ(page->height() - capsule.bottom() - 1, 20);
    const QImage shown = page->grab().toImage();
    shown.copy(toast->geometry().adjusted(-20, -20, 20, 20))
        .save(QCoreApplication::applicationDirPath() + "/artifacts/toast-capsule.png");
    // Rounded ends: the corner of its box is the page, its middle the capsule.
    const QColor fill = shown.pixelColor(capsule.left() + capsule.height() / 2, capsule.top() + 3);
    EXPECT_NE(shown.pixelColor(capsule.topLeft() + QPoint(1, 1)), fill);
    // Each ink is the colour furthest from the capsule in its box.
    const auto ink = [&](QWidget* w) {
        const QImage box = shown.copy(QRect(w->mapTo(page.get(), QPoint()), w->size()));
        QColor furthest = fill;
        for (int y = 0; y < box.height(); ++y)
            for (int x = 0; x < box.width(); ++x)
                if (contrastRatio(box.pixelColor(x, y), fill) > contrastRatio(furthest, fill))
                    furthest = box.pixelColor(x, y);
        return furthest;
    };
    const QColor sentence = ink(toast->message()), view = ink(toast->viewButton()),
                 undo = ink(toast->undoButton());
    EXPECT_GT(view.blue(), view.red() + 60) << "View is in the accent blue";
    EXPECT_NE(undo, sentence);
    EXPECT_NE(undo, view);
    for (const QColor& each : {view, undo})
        EXPECT_GE(contrastRatio(each, fill), 4.5);

    rig.queue.advance(4.1);
    settle();
    EXPECT_FALSE(toast->isVisible());
    // Where the toast and its shadow were, nothing is left of them.
    const QRect strip(0, page->height() - 80, page->width(), 80);
    EXPECT_EQ(testsupport::meanDifference(before.copy(strip), page->grab().toImage().copy(strip)), 0);
}

// Each entry of the sheet shows on one line inside its cell: its label, then
// at the far end its detail, either cut at its end when too long, the detail
// first.
TEST_F(GalleryPage, TheSheetCutsLongEntriesAtTheirEnd) {
    open();
    QTest::mouseClick(page->categoryButton(GalleryWheel::Category::web), Qt::LeftButton);
    QTest::mouseClick(page->wheelButton("gallery-ai-assistants"), Qt::LeftButton);
    QTest::mouseClick(page->addButton(), Qt::LeftButton);
    ASSERT_TRUE(page->sheet());
    QApplication::processEvents();
    saveScreenshot(page->sheet(), "add-sheet-elided.png");
    EXPECT_EQ(partlyShown(*page->sheet()).join("\n").toStdString(), "");
    int cut = 0;
    // The eliding labels among the sheet's labels (the class declares no
    // meta-object of its own, so only a dynamic cast tells them apart).
    for (auto* label : page->sheet()->findChildren<QLabel*>()) {
        auto* text = dynamic_cast<ElidingLabel*>(label);
        if (!text) continue;
        const QRect cell = text->parentWidget()->rect();
        EXPECT_TRUE(cell.contains(text->geometry())) << text->text().toStdString();
        if (text->objectName() == "entryDetail") {
            EXPECT_EQ(text->geometry().right(), cell.right());
        }
        // A short label shows whole: its detail gives way.
        if (text->objectName() == "entryLabel" && text->text().size() <= 12) {
            EXPECT_FALSE(text->isElided()) << text->text().toStdString();
        }
        if (!text->isElided()) continue;
        ++cut;
        const QString shown = text->shownText();
        EXPECT_TRUE(shown.endsWith("…") && text->text().startsWith(shown.chopped(1))) << shown.toStdString();
    }
    EXPECT_GT(cut, 0) << "the links are longer than their cells";
}

TEST_F(GalleryPage, TheStageFetchesWebsiteIconsAndTheAddSheetDoesNot) {
    std::vector<std::string> searched;
    FaviconCache cache(rig.queue, rig.background, [&](const std::string& host) -> std::optional<std::string> {
        searched.push_back(host);
        return std::nullopt;
    });
    FaviconImages favicons(cache);
    icons = std::make_unique<SliceIconSources>(SliceIconSources::ApplicationResolver{}, &favicons);
    open();
    QTest::mouseClick(page->categoryButton(GalleryWheel::Category::web), Qt::LeftButton);
    ASSERT_TRUE(page->wheelButton("gallery-ai-assistants"));
    QTest::mouseClick(page->wheelButton("gallery-ai-assistants"), Qt::LeftButton);
    QApplication::processEvents();
    rig.background.runAll();
    EXPECT_NE(std::find(searched.begin(), searched.end(), "chatgpt.com"), searched.end());

    QTest::mouseClick(page->addButton(), Qt::LeftButton);
    ASSERT_TRUE(page->sheet());
    const auto* sheetWheel = page->sheet()->findChild<WheelGraphic*>();
    ASSERT_TRUE(sheetWheel);
    EXPECT_FALSE(sheetWheel->inputs().prefetchFavicons);
    page.reset();
}

TEST_F(GalleryPage, AddingToANewerFileKeepsTheWheelForThisRunOnly) {
    Config newer = DefaultConfig::factoryConfig();
    newer.version = Config::currentVersion + 1;
    rig.writeConfig(newer);
    const auto file = rig.home.path / ".config/rondelix/config.json";
    const std::string bytes = testing::readText(file);
    open();
    ASSERT_TRUE(rig.c().configStore().isReadOnly());
    page->model().addWheel(WheelGallery::all().front());
    EXPECT_EQ(wheelNames().back(), "Browser");
    rig.queue.advance(5);
    EXPECT_EQ(testing::readText(file), bytes);
}

} // namespace
} // namespace rondelix::testsupport
