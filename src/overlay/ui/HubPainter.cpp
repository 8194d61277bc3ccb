#include "overlay/ui/HubPainter.h"

#include "overlay/LabelRoom.h"
#include "overlay/ui/SliceLabels.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace rondelix {

namespace {

constexpr double stackSpacing = HubStack::spacing;
constexpr double dotSize = 6;
constexpr double dotSpacing = 5;
// Wheel names are short; a huge one is cut before it is measured.
constexpr std::size_t maxNameBytes = 1024;

void paintCapsule(QPainter& painter, const QRectF& rect, const QColor& fill) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, rect.height() / 2, rect.height() / 2);
}

} // namespace

void paintHub(QPainter& painter, const WheelGeometry& geometry, const HubContent& content,
              const WheelPalette& palette) {
    QFont countFont;
    countFont.setPixelSize(11);
    countFont.setWeight(QFont::DemiBold);
    const QFontMetricsF countMetrics(countFont);
    const QString countText = QString::fromStdString(content.switcher.countText);

    QSizeF switcherCapsule;
    switch (content.switcher.style) {
    case WheelSwitcher::Style::hidden:
        break;
    case WheelSwitcher::Style::dots: {
        const auto dots = static_cast<double>(content.switcher.dots.size());
        switcherCapsule = QSizeF(dots * dotSize + (dots - 1) * dotSpacing + 16, dotSize + 8);
        break;
    }
    case WheelSwitcher::Style::count:
        switcherCapsule = QSizeF(countMetrics.horizontalAdvance(countText) + 16, countMetrics.height() + 8);
        break;
    }

    const bool hasSwitcher = content.switcher.style != WheelSwitcher::Style::hidden;
    // The name wraps, shrinks or is cut so that its capsule stays inside the hub.
    const int namePixels = std::max(1, qRound(geometry.hubNameFontSize()));
    const auto nameFont = [](int pixelSize) {
        QFont font;
        font.setPixelSize(pixelSize);
        font.setWeight(QFont::DemiBold);
        return font;
    };
    const HubStack stack{geometry, hasSwitcher ? switcherCapsule.height() : 0};
    const TwoLineText name =
        fitTwoLines(std::string(utf8Prefix(content.name, maxNameBytes)), namePixels,
                    static_cast<int>(std::ceil(0.8 * namePixels)), measureWith(nameFont), stack.nameRoom());
    const QFont font = nameFont(name.pixelSize);
    const QFontMetricsF nameMetrics(font);
    QStringList lines;
    double widest = 0;
    for (const std::string& line : name.lines) {
        lines << QString::fromStdString(line);
        widest = std::max(widest, nameMetrics.horizontalAdvance(lines.back()));
    }
    const QSizeF nameCapsule(widest + 2 * HubStack::namePaddingX, name.height() + 2 * HubStack::namePaddingY);
    const double height = nameCapsule.height() + (hasSwitcher ? switcherCapsule.height() + stackSpacing : 0);
    const Point centre = geometry.hubCentre();
    double top = centre.y - height / 2;

    painter.save();
    if (hasSwitcher) {
        const QRectF capsule(centre.x - switcherCapsule.width() / 2, top, switcherCapsule.width(),
                             switcherCapsule.height());
        paintCapsule(painter, capsule, palette.ultraThinMaterial);
        if (content.switcher.style == WheelSwitcher::Style::dots) {
            double x = capsule.left() + 8;
            for (const bool active : content.switcher.dots) {
                painter.setBrush(active ? content.activeDot : withOpacity(palette.primary, 0.3));
                painter.drawEllipse(QRectF(x, capsule.top() + 4, dotSize, dotSize));
                x += dotSize + dotSpacing;
            }
        } else {
            painter.setFont(countFont);
            painter.setPen(palette.secondary);
            painter.drawText(capsule, Qt::AlignCenter, countText);
        }
        top += switcherCapsule.height() + stackSpacing;
    }
    const QRectF capsule(centre.x - nameCapsule.width() / 2, top, nameCapsule.width(), nameCapsule.height());
    paintCapsule(painter, capsule, palette.ultraThinMaterial);
    painter.setFont(font);
    painter.setPen(palette.secondary);
    painter.drawText(capsule, Qt::AlignCenter, lines.join(QLatin1Char('\n')));
    painter.restore();
}

} // namespace rondelix
