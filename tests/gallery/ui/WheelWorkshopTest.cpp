#include "app/ui/MainPages.h"
#include "editor/ui/PreviewWheel.h"
#include "editor/ui/WheelEditorPage.h"
#include "gallery/ui/GalleryBrowserPage.h"
#include "gallery/ui/WheelWorkshopPage.h"
#include "support/CoordinatorRig.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QParallelAnimationGroup>
#include <gtest/gtest.h>

namespace rondelix::testsupport {
namespace {

class Workshop : public ::testing::Test {
  protected:
    void open() {
        rig.open();
        rig.queue.advance(2);
        QWidget* made = pageFactory(MainTab::wheels)(rig.c(), nullptr);
        workshop.reset(static_cast<WheelWorkshopPage*>(made));
        workshop->resize(1200, 800);
        workshop->show();
    }
    void saveScreenshot(const QString& name) {
        const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
        QDir().mkpath(folder);
        EXPECT_TRUE(workshop->grab().save(folder + "/" + name));
    }

    CoordinatorRig rig;
    std::unique_ptr<WheelWorkshopPage> workshop;
};

TEST_F(Workshop, OnePageForBothTabsSwitchingWithTheTab) {
    open();
    EXPECT_EQ(pageFactory(MainTab::gallery)(rig.c(), nullptr), workshop.get());
    EXPECT_TRUE(qobject_cast<WheelEditorPage*>(workshop->currentPage()));
    EXPECT_DOUBLE_EQ(workshop->wheelSize(), 561);

    // With motion the pages cross-fade while the wheel flies to the stage.
    rig.c().setMainTab(MainTab::gallery);
    auto* gallery = qobject_cast<GalleryBrowserPage*>(workshop->currentPage());
    ASSERT_TRUE(gallery);
    EXPECT_DOUBLE_EQ(gallery->wheelSize(), 561);
    EXPECT_TRUE(workshop->isSwitching());
    ASSERT_TRUE(workshop->flyingWheel());
    EXPECT_FALSE(workshop->flyingPicture().isNull());
    saveScreenshot("workshop-switching.png");

    // A settings tab leaves the workshop alone.
    rig.c().setMainTab(MainTab::appearance);
    EXPECT_EQ(workshop->currentPage(), gallery);

    // Without motion the editor takes the gallery's place at once.
    rig.screens.options.reduceMotion = true;
    rig.c().setMainTab(MainTab::wheels);
    EXPECT_TRUE(qobject_cast<WheelEditorPage*>(workshop->currentPage()));
    EXPECT_FALSE(workshop->isSwitching());
    EXPECT_FALSE(workshop->flyingWheel());
    rig.c().setMainTab(MainTab::gallery);
    EXPECT_FALSE(workshop->isSwitching());
    saveScreenshot("workshop-gallery.png");

    workshop->resize(900, 700);
    EXPECT_DOUBLE_EQ(static_cast<GalleryBrowserPage*>(workshop->currentPage())->wheelSize(), 314.5);
}

TEST_F(Workshop, BothPagesDrawOneWheelSizeAndTheWheelFliesAsThatSquare) {
    open();
    const auto side = static_cast<int>(workshop->wheelSize());
    auto* editor = qobject_cast<WheelEditorPage*>(workshop->currentPage());
    ASSERT_TRUE(editor);
    EXPECT_NEAR(editor->preview().side(), side, 1);
    workshop->resize(1060, 760);
    EXPECT_NEAR(editor->preview().side(), workshop->wheelSize(), 1);
    const QPoint editorCentre = editor->preview().mapTo(workshop.get(), editor->preview().rect().center());

    rig.c().setMainTab(MainTab::gallery);
    auto* gallery = qobject_cast<GalleryBrowserPage*>(workshop->currentPage());
    ASSERT_TRUE(gallery);
    QWidget* flying = workshop->flyingWheel();
    auto* flight = workshop->findChild<QParallelAnimationGroup*>();
    ASSERT_TRUE(flying && flight);
    const QRect stage(gallery->stageSquare()->mapTo(workshop.get(), QPoint(0, 0)),
                      gallery->stageSquare()->size());
    // The picture is the wheel alone: outside its disc it is clear.
    const QImage picture = workshop->flyingPicture().toImage();
    EXPECT_EQ(qAlpha(picture.pixel(3, 3)), 0);
    EXPECT_EQ(qAlpha(picture.pixel(picture.width() - 4, picture.height() - 4)), 0);

    // Frame by frame it keeps its shape and size from one square to the other.
    const int frames = 6;
    const QSize cell = workshop->size() / 2;
    QImage sheet(cell.width() * 3, cell.height() * 2, QImage::Format_RGB32);
    QPainter sheetPainter(&sheet);
    for (int frame = 0; frame < frames; ++frame) {
        flight->setCurrentTime(flight->totalDuration() * frame / (frames - 1));
        if (workshop->isSwitching()) {
            const QRect at = flying->geometry();
            EXPECT_NEAR(at.width(), at.height(), 1) << "frame " << frame;
            EXPECT_NEAR(at.width(), workshop->wheelSize(), 1) << "frame " << frame;
            if (frame == 0) {
                EXPECT_NEAR(at.center().x(), editorCentre.x(), 1);
                EXPECT_NEAR(at.center().y(), editorCentre.y(), 1);
            }
        }
        sheetPainter.drawImage(QRect(QPoint(frame % 3 * cell.width(), frame / 3 * cell.height()), cell),
                               workshop->grab().toImage());
    }
    sheetPainter.end();
    const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
    QDir().mkpath(folder);
    sheet.save(folder + "/workshop-flight-frames.png");
    EXPECT_FALSE(workshop->isSwitching());
    EXPECT_TRUE(gallery->stageSquare()->isVisible());
    EXPECT_EQ(
        QRect(gallery->stageSquare()->mapTo(workshop.get(), QPoint(0, 0)), gallery->stageSquare()->size()),
        stage);
}

} // namespace
} // namespace rondelix::testsupport
