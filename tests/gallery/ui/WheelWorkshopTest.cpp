#include "app/ui/MainPages.h"
#include "editor/ui/WheelEditorPage.h"
#include "gallery/ui/GalleryBrowserPage.h"
#include "gallery/ui/WheelWorkshopPage.h"
#include "support/CoordinatorRig.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
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
    EXPECT_FALSE(workshop->flyingWheel()->pixmap().isNull());
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

} // namespace
} // namespace rondelix::testsupport
