#include "app/WindowSizes.h"
#include "app/ui/MainWindow.h"
#include "editor/ui/PreviewWheel.h"
#include "overlay/ui/SliceIconSources.h"
#include "support/CoordinatorRig.h"
#include "support/WidgetsShownWhole.h"

#include <QApplication>
#include <QDir>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;

QString artifactPath(const QString& name) {
    const QString folder = QCoreApplication::applicationDirPath() + "/artifacts";
    QDir().mkpath(folder);
    return folder + "/" + name;
}

// Every page at the smallest size the window takes for it shows whole: no
// control or text cut by an edge, nothing to scroll sideways, and My Wheels'
// wheel no smaller than the workshop's smallest.
TEST(WindowFit, EveryPageShowsWholeAtTheWindowsSmallestSize) {
    CoordinatorRig rig;
    rig.open();
    rig.c().unlockDevMenu();
    SliceIconSources icons;
    struct Row {
        MainTab tab;
        const char* name;
    };
    const Row rows[] = {{MainTab::wheels, "my-wheels"},       {MainTab::gallery, "gallery"},
                        {MainTab::general, "general"},        {MainTab::shortcuts, "bindings"},
                        {MainTab::wheelBehavior, "behavior"}, {MainTab::appearance, "appearance"},
                        {MainTab::soundFeedback, "sound"},    {MainTab::about, "about"},
                        {MainTab::development, "development"}};
    for (const Row& row : rows) {
        rig.c().setMainTab(row.tab);
        MainWindow main({rig.c(), icons}, {});
        const ContentSize group = minimumContentSize(pageGroup(row.tab));
        const ContentSize smallest = main.smallestContent(group);
        EXPECT_GE(smallest.width, group.width) << row.name;
        main.resize(static_cast<int>(smallest.width), static_cast<int>(smallest.height));
        main.show();
        rig.queue.advance(2);
        QApplication::processEvents();
        main.grab().save(artifactPath(QString("min-size-") + row.name + ".png"));
        EXPECT_EQ(testsupport::partlyShown(main).join("\n").toStdString(), "") << row.name;
        if (auto* preview = main.findChild<PreviewWheel*>()) {
            EXPECT_GE(preview->side(), 240) << row.name;
            // It may reach under the pills, never under the inspector.
            const QWidget* inspector = main.findChild<QWidget*>("inspector");
            ASSERT_TRUE(inspector);
            EXPECT_LE(preview->mapTo(&main, preview->rect().topRight()).x(),
                      inspector->mapTo(&main, QPoint()).x());
        }
    }
}

} // namespace
} // namespace rondelix
