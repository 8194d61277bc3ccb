#include "icons/ui/SymbolFont.h"

#include "icons/SymbolGlyphs.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontDatabase>
#include <QPainter>
#include <algorithm>
#include <string>

namespace rondelix {

namespace {

constexpr const char* materialFamily = "Material Icons";
constexpr const char* materialFile =
    "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf";

// The TrueType file is added even when the desktop already lists the family:
// its list also holds the family's compressed web fonts, and one of those
// would be unpacked into memory on every start. The desktop's fonts are listed
// first, so that the file added after them is the family's face, read in place.
bool loadFamily() {
    const bool listed = QFontDatabase::families().contains(QString::fromLatin1(materialFamily));
    return QFontDatabase::addApplicationFont(QString::fromLatin1(materialFile)) >= 0 || listed;
}

// Material glyphs fill about five sixths of their em; this makes them match
// the height of the text size they stand in for.
constexpr double glyphScale = 1.2;

} // namespace

bool SymbolFont::knows(std::string_view name) {
    return symbolGlyph(name).has_value();
}

QString SymbolFont::glyph(std::string_view name) {
    const auto codePoint = symbolGlyph(name);
    return QString(QChar(codePoint ? *codePoint : *symbolGlyph("questionmark")));
}

bool SymbolFont::isAvailable() {
    static const bool available = loadFamily();
    return available;
}

QFont SymbolFont::font(double pixelSize) {
    QFont font(QString::fromLatin1(materialFamily));
    font.setPixelSize(std::max(1, qRound(pixelSize * glyphScale)));
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

void SymbolFont::paint(QPainter& painter, std::string_view name, const QRectF& box, double pixelSize,
                       const QColor& color) {
    painter.setPen(color);
    if (isAvailable()) {
        painter.setFont(font(pixelSize));
        painter.drawText(box, Qt::AlignCenter, glyph(name));
        return;
    }
    QFont fallback = painter.font();
    fallback.setPixelSize(std::max(1, qRound(pixelSize)));
    fallback.setBold(true);
    painter.setFont(fallback);
    painter.drawText(box, Qt::AlignCenter,
                     knows(name) && name != "questionmark" ? QStringLiteral("•") : QStringLiteral("?"));
}

QPixmap SymbolFont::pixmap(std::string_view name, int side, const QColor& color) {
    QPixmap image(side, side);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paint(painter, name, QRectF(0, 0, side, side), side / glyphScale, color);
    return image;
}

namespace {

class PaletteFollowingIcon final : public QObject {
  public:
    PaletteFollowingIcon(QAbstractButton& button, std::string_view name, QPalette::ColorRole role)
        : QObject(&button), button_(button), name_(name), role_(role) {
        button.installEventFilter(this);
        draw();
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::PaletteChange) draw();
        return false;
    }

  private:
    void draw() { button_.setIcon(SymbolFont::icon(name_, button_.palette(), role_)); }

    QAbstractButton& button_;
    std::string name_;
    QPalette::ColorRole role_;
};

} // namespace

void SymbolFont::followPalette(QAbstractButton& button, std::string_view name, QPalette::ColorRole role) {
    new PaletteFollowingIcon(button, name, role);
}

QIcon SymbolFont::icon(std::string_view name, const QPalette& palette, QPalette::ColorRole role) {
    // Drawn at twice a small icon's size, so that it stays sharp on a dense screen.
    constexpr int side = 32;
    QIcon icon(pixmap(name, side, palette.color(QPalette::Active, role)));
    icon.addPixmap(pixmap(name, side, palette.color(QPalette::Disabled, role)), QIcon::Disabled);
    return icon;
}

} // namespace rondelix
