#include "icons/SymbolGlyphs.h"
#include "icons/ui/IconViewArtifacts.h"
#include "icons/ui/SymbolFont.h"
#include "support/SymbolNamesInUse.h"

#include <QPainter>
#include <QRawFont>
#include <gtest/gtest.h>
#include <set>

using namespace rondelix;

namespace {

// The font must hold every glyph the table names, or the name draws as an
// empty box; the sheet shows each name beside its glyph for a person to check
// that the glyph shows what the name says.
TEST(SymbolContactSheet, EveryNameInUseHasAGlyphInTheFont) {
    ASSERT_TRUE(SymbolFont::isAvailable());
    const QRawFont raw = QRawFont::fromFont(SymbolFont::font(20));
    ASSERT_TRUE(raw.isValid());
    std::set<std::string> names;
    for (const auto& use : rondelix::testsupport::symbolNamesInUse())
        names.insert(use.name);
    for (const auto& name : names) {
        const auto glyph = symbolGlyph(name);
        ASSERT_TRUE(glyph) << name;
        EXPECT_TRUE(raw.supportsCharacter(QChar(*glyph))) << name << " has no glyph in the font";
    }

    constexpr int columns = 6;
    constexpr int cellWidth = 260;
    constexpr int cellHeight = 34;
    const int rows = (static_cast<int>(names.size()) + columns - 1) / columns;
    QImage sheet(columns * cellWidth, rows * cellHeight, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont label;
    label.setPixelSize(11);
    int index = 0;
    for (const auto& name : names) {
        const QPointF origin((index % columns) * cellWidth, (index / columns) * cellHeight);
        SymbolFont::paint(painter, name, QRectF(origin.x() + 4, origin.y() + 4, 26, 26), 20, Qt::black);
        painter.setFont(label);
        painter.setPen(QColor(60, 60, 60));
        painter.drawText(QRectF(origin.x() + 36, origin.y(), cellWidth - 40, cellHeight), Qt::AlignVCenter,
                         QString::fromStdString(name));
        ++index;
    }
    painter.end();
    EXPECT_TRUE(rondelix::testsupport::saveIconArtifact(sheet, QStringLiteral("symbol-contact-sheet.png")));
}

} // namespace
