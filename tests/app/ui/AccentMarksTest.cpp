#include "app/ui/MainWindow.h"
#include "app/ui/ReadablePalette.h"
#include "app/ui/SidePages.h"
#include "app/ui/SideWindow.h"
#include "icons/ui/IconViewArtifacts.h"
#include "model/DefaultConfig.h"
#include "overlay/ui/SliceIconSources.h"
#include "support/ContrastRatio.h"
#include "support/CoordinatorRig.h"
#include "support/PaintChecks.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QScopeGuard>
#include <QStyle>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

using testsupport::CoordinatorRig;

// How far the mark in the box stands out: its most common colour is what the
// mark stands on, and the mark is the pixel furthest from it. The part of the
// window around it is kept for people to look at.
double markContrast(QWidget& window, const QRect& box, std::vector<QImage>& seen) {
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal scale = shot.devicePixelRatio();
    seen.push_back(shot.copy(QRect((box.topLeft() - QPoint(0, 40)) * scale, QSize(360, 120) * scale)));
    const QImage crop = shot.copy(QRect(box.topLeft() * scale, box.size() * scale));
    const QColor ground = testsupport::commonestColour(crop);
    double furthest = 1;
    for (int y = 0; y < crop.height(); ++y)
        for (int x = 0; x < crop.width(); ++x)
            furthest = std::max(furthest, testsupport::contrastRatio(crop.pixelColor(x, y), ground));
    return furthest;
}

struct Look {
    const char* name;
    bool dark;
    const char* accent;
};

// A yellow vanishes on the light look and a deep indigo on the dark one,
// unless they are deepened (or lightened) where they are drawn.
const Look looks[] = {
    {"light look, light accent", false, "#FFEB3B"},
    {"light look, dark accent", false, "#1A237E"},
    {"dark look, light accent", true, "#FFEB3B"},
    {"dark look, dark accent", true, "#1A237E"},
};

// The sidebar's symbols and the setup window's card symbols stand out at 3:1
// at least from what they are drawn on, whatever the accent and the look.
TEST(AccentMarks, SymbolsDrawnInTheAccentStandOutOnTheLightAndTheDarkLook) {
    const auto restore =
        qScopeGuard([before = QApplication::palette()] { QApplication::setPalette(before); });
    std::vector<QImage> seen;
    for (const Look& look : looks) {
        SCOPED_TRACE(look.name);
        QApplication::setPalette(look.dark ? darkSchemePalette() : QApplication::style()->standardPalette());
        ReadablePalette palette;
        palette.setAccent(QColor(look.accent));
        CoordinatorRig rig;
        rig.writeConfig(DefaultConfig::factoryConfig());
        rig.open();
        rig.c().setMainTab(MainTab::wheels);
        SliceIconSources icons;
        {
            MainWindow window({rig.c(), icons}, {});
            window.resize(1100, 760);
            window.show();
            QApplication::processEvents();
            auto* sidebar = window.findChild<QListWidget*>("sidebar");
            const auto rows = sidebar->findItems("Wheel Gallery", Qt::MatchExactly);
            ASSERT_EQ(rows.size(), 1);
            const QRect row = sidebar->visualItemRect(rows.front());
            const QRect icon(sidebar->viewport()->mapTo(&window, row.topLeft()),
                             QSize(sidebar->iconSize().width() + 8, row.height()));
            EXPECT_GE(markContrast(window, icon, seen), 3.0) << "the sidebar's Wheel Gallery symbol";
        }
        {
            const SidePage page = sidePage(AppWindows::Kind::shortcutSetup);
            SideWindow window(page.title, {});
            window.setContent(page.content({rig.c(), icons}, {}, &window));
            window.show();
            QApplication::processEvents();
            const QLabel* symbol = window.findChild<QLabel*>("cardSymbol");
            ASSERT_TRUE(symbol);
            EXPECT_GE(markContrast(window, QRect(symbol->mapTo(&window, QPoint()), symbol->size()), seen),
                      3.0)
                << "a setup card's symbol";
        }
    }
    QImage sheet(720, 120 * 4, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < seen.size(); ++i)
        painter.drawImage(QPoint(360 * (i % 2), 120 * (i / 2)), seen[i]);
    painter.end();
    EXPECT_TRUE(testsupport::saveIconArtifact(sheet, QStringLiteral("accent-marks.png")));
}

} // namespace
} // namespace rondelix
