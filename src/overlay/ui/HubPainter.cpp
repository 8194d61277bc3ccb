#include "overlay/ui/HubPainter.h"

#include "overlay/ui/SliceLabels.h"

#include <QFont>
#include <QPainter>
#include <QStringList>
#include <algorithm>

namespace rondelix {

namespace {

// Wheel names are short; a huge one is cut before it is measured.
constexpr std::size_t maxNameBytes = 1024;

QFont semibold(int pixelSize) {
    QFont font;
    font.setPixelSize(std::max(1, pixelSize));
    font.setWeight(QFont::DemiBold);
    return font;
}

QRectF rectOf(const Box& box) {
    return QRectF(QPointF(box.left, box.top), QPointF(box.right, box.bottom));
}

void paintCapsule(QPainter& painter, const QRectF& rect, const QColor& fill) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, rect.height() / 2, rect.height() / 2);
}

} // namespace

HubLayout hubLayout(const WheelGeometry& geometry, const HubContent& content) {
    return layoutHub(geometry, std::string(utf8Prefix(content.name, maxNameBytes)), content.switcher,
                     {.name = measureWith(&semibold),
                      .namePixelSize = std::max(1, qRound(geometry.hubNameFontSize())),
                      .count = measureWith(&semibold)});
}

void paintHub(QPainter& painter, const WheelGeometry& geometry, const HubContent& content,
              const WheelPalette& palette) {
    const HubLayout layout = hubLayout(geometry, content);
    painter.save();
    const SwitcherLook& look = layout.switcher;
    if (look.style != WheelSwitcher::Style::hidden) {
        const QRectF capsule = rectOf(layout.switcherCapsule);
        paintCapsule(painter, capsule, palette.ultraThinMaterial);
        if (look.style == WheelSwitcher::Style::dots) {
            double x = capsule.left() + look.paddingX;
            for (const bool active : content.switcher.dots) {
                painter.setBrush(active ? content.activeDot : withOpacity(palette.primary, 0.3));
                painter.drawEllipse(QRectF(x, capsule.top() + look.paddingY, look.dotSize, look.dotSize));
                x += look.dotSize + look.dotSpacing;
            }
        } else {
            painter.setFont(semibold(look.countPixelSize));
            painter.setPen(palette.secondary);
            painter.drawText(capsule, Qt::AlignCenter, QString::fromStdString(content.switcher.countText));
        }
    }
    QStringList lines;
    for (const std::string& line : layout.name.lines)
        lines << QString::fromStdString(line);
    const QRectF capsule = rectOf(layout.nameCapsule);
    paintCapsule(painter, capsule, palette.ultraThinMaterial);
    painter.setFont(semibold(layout.name.pixelSize));
    painter.setPen(palette.secondary);
    painter.drawText(capsule, Qt::AlignCenter, lines.join(QLatin1Char('\n')));
    painter.restore();
}

QRectF hubBounds(const WheelGeometry& geometry, const HubContent& content) {
    const HubLayout layout = hubLayout(geometry, content);
    QRectF bounds = rectOf(layout.nameCapsule);
    if (layout.switcher.style != WheelSwitcher::Style::hidden) bounds |= rectOf(layout.switcherCapsule);
    return bounds;
}

} // namespace rondelix
