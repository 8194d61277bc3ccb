#include "platform/linux/qt/QtPasteboard.h"

#include "platform/linux/DesktopApplication.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <gtest/gtest.h>

namespace rondelix::platform::linux_desktop {
namespace {

class QtPasteboardTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { rondelix::testing::desktopApplication(); }
    static void settle() {
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
    }
};

// One test touches the display's clipboard, so that test programs running
// side by side never fight over it.
TEST_F(QtPasteboardTest, CountsChangesAndRestoresSnapshots) {
    QtPasteboard board;
    auto* data = new QMimeData;
    data->setHtml("<b>bold</b>");
    data->setText("bold");
    QGuiApplication::clipboard()->setMimeData(data);
    settle();
    const auto snapshot = board.items();
    ASSERT_TRUE(snapshot && snapshot->size() == 1);

    // Our own write counts once, whatever Qt reports about it.
    const long before = board.changeCount();
    board.writeText("pasted text");
    settle();
    EXPECT_EQ(board.changeCount(), before + 1);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "pasted text");

    // A write that did not go through the board counts too.
    QGuiApplication::clipboard()->setText("copied elsewhere");
    settle();
    EXPECT_EQ(board.changeCount(), before + 2);

    board.writeItems(*snapshot);
    settle();
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->html().toStdString(), "<b>bold</b>");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "bold");

    board.writeItems({});
    settle();
    EXPECT_TRUE(board.items().value_or(std::vector<PasteboardItem>{}).empty());
}

} // namespace
} // namespace rondelix::platform::linux_desktop
