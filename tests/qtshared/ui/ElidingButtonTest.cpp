#include "qtshared/ElidingButton.h"

#include <QMenu>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

TEST(ElidingButton, ShowsItsWholeTitleWhereItFitsAndCutsItToTheRoomBelowThat) {
    for (const bool withMenu : {false, true}) {
        ElidingButton button;
        QMenu menu;
        if (withMenu) button.setMenu(&menu);
        button.setText("Open the Downloads Folder && More");
        const int whole = button.sizeHint().width();
        const int least = button.minimumSizeHint().width();
        ASSERT_LT(least, whole);
        const int chrome = whole - button.fontMetrics().size(Qt::TextShowMnemonic, button.text()).width();

        for (int width = least; width <= whole + 10; ++width) {
            button.resize(width, button.sizeHint().height());
            const QString shown = button.shownText();
            const int shownWidth = button.fontMetrics().size(Qt::TextShowMnemonic, shown).width();
            if (width >= whole) {
                EXPECT_EQ(shown, button.text()) << width;
                EXPECT_FALSE(button.isElided());
            } else {
                EXPECT_TRUE(shown.endsWith(QStringLiteral("…"))) << width << " " << shown.toStdString();
                EXPECT_LE(shownWidth + chrome, width) << width;
                EXPECT_TRUE(button.isElided());
            }
        }
        EXPECT_EQ(button.text(), "Open the Downloads Folder && More") << "screen readers read it whole";
    }
}

} // namespace
} // namespace rondelix
