#include "app/ui/MainPages.h"
#include "editor/ui/PreviewWheel.h"
#include "editor/ui/WheelEditorPage.h"
#include "gallery/ui/GalleryBrowserPage.h"
#include "gallery/ui/WheelWorkshopPage.h"
#include "overlay/ui/SliceIconSources.h"
#include "overlay/ui/WheelGraphic.h"
#include "support/CoordinatorRig.h"
#include "support/PaintChecks.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <gtest/gtest.h>

namespace rondelix::testsupport {
namespace {

// The stage's square as drawn, clear around the wheel.
QImage squarePicture(QWidget& square) {
    QImage picture(square.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    square.render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    return picture;
}

class Workshop : public ::testing::Test {
  protected:
    void open() {
        rig.open();
        rig.queue.advance(2);
        workshop.reset(makeWheelWorkshop({rig.c(), icons}, false, nullptr));
        workshop->resize(1200, 800);
        workshop->show();
    }
    void saveScreenshot(const QString& name) {
        const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
        QDir().mkpath(folder);
        EXPECT_TRUE(workshop->grab().save(folder + "/" + name));
    }

    CoordinatorRig rig;
    SliceIconSources icons;
    std::unique_ptr<WheelWorkshopPage> workshop;
};

TEST_F(Workshop, SwitchesBetweenTheEditorAndTheGalleryWithOrWithoutMotion) {
    open();
    EXPECT_TRUE(qobject_cast<WheelEditorPage*>(workshop->currentPage()));
    EXPECT_DOUBLE_EQ(workshop->wheelSize(), 561);

    // With motion the pages cross-fade while the wheel flies to the stage.
    workshop->showGallery(true);
    auto* gallery = qobject_cast<GalleryBrowserPage*>(workshop->currentPage());
    ASSERT_TRUE(gallery);
    EXPECT_DOUBLE_EQ(gallery->wheelSize(), 561);
    EXPECT_TRUE(workshop->isSwitching());
    ASSERT_TRUE(workshop->flyingWheel());
    EXPECT_FALSE(workshop->flyingPicture().isNull());
    saveScreenshot("workshop-switching.png");

    // Without motion the editor takes the gallery's place at once.
    rig.screens.options.reduceMotion = true;
    workshop->showGallery(false);
    EXPECT_TRUE(qobject_cast<WheelEditorPage*>(workshop->currentPage()));
    EXPECT_FALSE(workshop->isSwitching());
    EXPECT_FALSE(workshop->flyingWheel());
    workshop->showGallery(true);
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
    EXPECT_EQ(editor->preview().graphic().inputs().icons, &icons)
        << "its pictures come from the shared sources";
    workshop->resize(1060, 760);
    EXPECT_NEAR(editor->preview().side(), workshop->wheelSize(), 1);
    const QPoint editorCentre = editor->preview().mapTo(workshop.get(), editor->preview().rect().center());

    workshop->showGallery(true);
    auto* gallery = qobject_cast<GalleryBrowserPage*>(workshop->currentPage());
    ASSERT_TRUE(gallery);
    ASSERT_TRUE(gallery->findChild<WheelGraphic*>());
    EXPECT_EQ(gallery->findChild<WheelGraphic*>()->inputs().icons, &icons);
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

// A wheel chosen on the stage while the wheel is still flying there (the
// installed applications found meanwhile reorder the list) is the one the
// flight lands as: never a picture of the stage taken before.
TEST_F(Workshop, TheFlightLandsAsTheWheelTheStageShowsNow) {
    open();
    workshop->showGallery(true);
    auto* gallery = qobject_cast<GalleryBrowserPage*>(workshop->currentPage());
    auto* flight = workshop->findChild<QParallelAnimationGroup*>();
    ASSERT_TRUE(gallery && flight && workshop->flyingWheel());
    const std::string first = gallery->model().state().selectedId();
    const std::string other = first == "gallery-terminal" ? "gallery-finder" : "gallery-terminal";
    ASSERT_TRUE(gallery->wheelButton(other));
    const QImage before = squarePicture(*gallery->stageSquare());
    gallery->wheelButton(other)->click();
    // The stage's own cross-fade from the old wheel has run its course.
    for (auto* fade : gallery->stageSquare()->findChildren<QPropertyAnimation*>())
        fade->setCurrentTime(fade->totalDuration());
    const QImage now = squarePicture(*gallery->stageSquare());
    ASSERT_GT(meanDifference(before, now), 1) << "the two wheels look alike";

    flight->setCurrentTime(flight->totalDuration() - 1);
    const QImage landing = workshop->flyingWheel()->grab().toImage().scaled(now.size());
    // Within the disc: around it lies the page.
    const QPointF centre = QRectF(now.rect()).center();
    const auto disc = [&](QPoint p) { return QLineF(centre, p).length() < 0.45 * now.width(); };
    EXPECT_LT(meanDifference(landing, now, disc), meanDifference(landing, before, disc) / 4);
}

} // namespace
} // namespace rondelix::testsupport
