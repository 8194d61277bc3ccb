#include "editor/ui/ApplicationChooser.h"
#include "editor/ui/ConfettiView.h"
#include "editor/ui/PreviewWheel.h"
#include "icons/ui/IconViewArtifacts.h"
#include "overlay/ui/SliceIconSources.h"
#include "overlay/ui/WheelGraphic.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimWorkspace.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

Wheel eightSlots(std::vector<int> filled) {
    Wheel w;
    w.id = "w";
    w.name = "W";
    for (int p : filled)
        w.slices.push_back(Slice{Uuid::generate(), p, "S" + std::to_string(p),
                                 Icon{Icon::SfSymbol{"star.fill"}}, MacroAction{MacroAction::Text{""}}});
    return w;
}

QPoint slotPoint(WheelGraphic& graphic, int position) {
    const QRectF square = graphic.square();
    const double angle = position * M_PI / 4 - M_PI / 2;
    const double radius = square.width() * 0.36;
    return QPoint(static_cast<int>(square.center().x() + radius * std::cos(angle)),
                  static_cast<int>(square.center().y() + radius * std::sin(angle)));
}

TEST(PreviewWheelView, FillsTheSmallerSideClicksSelectAndDragsSwap) {
    PreviewWheel preview;
    std::vector<int> selected;
    std::vector<std::pair<int, int>> swaps;
    preview.onSelect = [&](int p) { selected.push_back(p); };
    preview.onSwap = [&](int from, int to) { swaps.emplace_back(from, to); };
    preview.resize(600, 400);
    preview.setInputs({eightSlots({2, 3}), {}, std::nullopt, true, Color::fallback(), 1.0, 2});
    preview.show();
    EXPECT_EQ(preview.side(), 400);
    EXPECT_EQ(static_cast<QWidget&>(preview.graphic()).geometry(), QRect(100, 0, 400, 400));
    EXPECT_TRUE(preview.showsOutline());

    WheelGraphic& graphic = preview.graphic();
    const QPoint from = slotPoint(graphic, 2);
    QTest::mousePress(&graphic, Qt::LeftButton, {}, from);
    QTest::mouseMove(&graphic, from + QPoint(0, 4));
    QTest::mouseRelease(&graphic, Qt::LeftButton, {}, from + QPoint(0, 4));
    EXPECT_EQ(selected, std::vector<int>{2}) << "a 4-point drag is a click";

    for (int target : {5, 3}) {
        QTest::mousePress(&graphic, Qt::LeftButton, {}, from);
        QTest::mouseMove(&graphic, (from + slotPoint(graphic, target)) / 2);
        QTest::mouseMove(&graphic, slotPoint(graphic, target));
        QTest::mouseRelease(&graphic, Qt::LeftButton, {}, slotPoint(graphic, target));
    }
    EXPECT_EQ(swaps, (std::vector<std::pair<int, int>>{{2, 5}, {2, 3}}));

    // A reduced wheel whose selection lies beyond it, or a summoned one, has no outline.
    preview.setInputs({eightSlots({}), {}, std::nullopt, true, Color::fallback(), 1.0, 8});
    EXPECT_FALSE(preview.showsOutline());
    preview.setInputs({eightSlots({2}), {}, 2, false, Color::fallback(), 1.0, 2});
    EXPECT_FALSE(preview.showsOutline());
    selected.clear();
    QTest::mouseClick(&graphic, Qt::LeftButton, {}, slotPoint(graphic, 4));
    EXPECT_TRUE(selected.empty());
}

TEST(ApplicationChooserView, SearchesAndBindsADesktopEntryFile) {
    platform::sim::SimMainQueue queue;
    platform::sim::SimWorkspace workspace{queue};
    platform::sim::SimDialogs dialogs;
    SliceIconSources icons;
    workspace.listed = {{"org.gnome.TextEditor", "Text Editor", "/te.desktop"},
                        {"org.gnome.Calculator", "Calculator", "/calc.desktop"}};
    workspace.applicationPaths = {"/home/me/tool.desktop"};

    ApplicationChooser chooser(workspace, dialogs, icons);
    ASSERT_EQ(chooser.list()->count(), 2);
    EXPECT_EQ(chooser.list()->item(0)->text(), "Calculator");
    QTest::keyClicks(chooser.search(), "text");
    ASSERT_EQ(chooser.list()->count(), 1);
    QTest::keyClick(chooser.list(), Qt::Key_Return);
    EXPECT_EQ(chooser.chosen(), "org.gnome.TextEditor");

    ApplicationChooser byFile(workspace, dialogs, icons);
    QPushButton* file = nullptr;
    for (auto* button : byFile.findChildren<QPushButton*>())
        if (button->text().startsWith("Choose &File")) file = button;
    ASSERT_TRUE(file);
    dialogs.filesToOpen = {"/home/me/notes.txt"};
    QTest::mouseClick(file, Qt::LeftButton);
    EXPECT_FALSE(byFile.chosen()) << "any other file binds nothing";
    dialogs.filesToOpen = {"/home/me/tool.desktop"};
    QTest::mouseClick(file, Qt::LeftButton);
    EXPECT_EQ(byFile.chosen(), "tool");
    EXPECT_EQ(dialogs.openPanels.back().allowedExtensions, std::vector<std::string>{"desktop"});
}

// Where the text of a row of the chooser starts: its first dark pixel.
int textStart(QListWidget& list, int row) {
    const QImage shown = list.viewport()->grab().toImage();
    const QRect area = list.visualItemRect(list.item(row));
    for (int x = area.left(); x <= area.right(); ++x)
        for (int y = area.top(); y <= area.bottom(); ++y)
            if (shown.pixelColor(x, y).lightness() < 100) return x;
    return -1;
}

// A name without an icon starts where the names beside icons do, so the list
// reads down one straight edge.
TEST(ApplicationChooserView, NamesStartAtOneEdgeWithOrWithoutAnIcon) {
    QTemporaryDir folder;
    QImage picture(32, 32, QImage::Format_ARGB32);
    picture.fill(QColor(200, 230, 255)); // lighter than any text
    ASSERT_TRUE(picture.save(folder.filePath("nib.png")));
    QFile entry(folder.filePath("nib.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Nib\nIcon=" + folder.filePath("nib.png").toUtf8() +
                "\n");
    entry.close();
    platform::sim::SimMainQueue queue;
    platform::sim::SimWorkspace workspace{queue};
    platform::sim::SimDialogs dialogs;
    SliceIconSources icons([&](const std::string& id) -> std::optional<std::string> {
        if (id == "org.example.Nib") return entry.fileName().toStdString();
        return std::nullopt;
    });
    workspace.listed = {
        {"org.example.Nib", "Nib", ""}, {"org.example.Nab", "Nab", ""}, {"org.example.Aa", "Aa", ""}};

    ApplicationChooser chooser(workspace, dialogs, icons);
    chooser.show();
    ASSERT_EQ(chooser.list()->item(1)->text(), "Nab");
    ASSERT_EQ(chooser.list()->item(2)->text(), "Nib");
    // Both rows below the first, which is selected.
    const int bare = textStart(*chooser.list(), 1);
    const int beside = textStart(*chooser.list(), 2);
    EXPECT_GT(beside, chooser.list()->visualItemRect(chooser.list()->item(2)).left() + 24)
        << "after the icon";
    EXPECT_NEAR(bare, beside, 1);
    EXPECT_TRUE(testsupport::saveIconArtifact(chooser.grab().toImage(), QStringLiteral("app-chooser.png")));
}

TEST(ConfettiViews, TheCelebrationLetsClicksThroughAndDrawsItsCard) {
    QWidget host;
    host.resize(800, 600);
    auto* below = new QPushButton("below", &host);
    below->setGeometry(10, 10, 100, 30);
    int clicks = 0;
    QObject::connect(below, &QPushButton::clicked, [&] { ++clicks; });
    auto* celebration = new ConfettiCelebration(false, &host);
    celebration->setGeometry(host.rect());
    host.show();
    QTest::mouseClick(&host, Qt::LeftButton, {}, QPoint(50, 25));
    QTest::mouseClick(below, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(celebration->testAttribute(Qt::WA_TransparentForMouseEvents));
    const auto labels = celebration->findChildren<QLabel*>();
    QStringList texts;
    for (auto* label : labels)
        texts << label->text();
    EXPECT_TRUE(texts.contains("100 Wheels!"));
    EXPECT_TRUE(texts.contains("You magnificent menace. We genuinely didn't think anyone would do this."));
    const auto* confetti = celebration->findChild<ConfettiView*>();
    ASSERT_TRUE(confetti);
    EXPECT_EQ(confetti->pieces().size(), 120u);
    QImage shot = host.grab().toImage();
    EXPECT_FALSE(shot.isNull());
}

} // namespace
} // namespace rondelix
