#include "overlay/ui/HubPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

namespace rondelix {

namespace {

constexpr double stackSpacing = 6;
constexpr double dotSize = 6;
constexpr double dotSpacing = 5;
// Wheel names are short; a huge one is cut before it is measured.
constexpr qsizetype maxNameCharacters = 256;

void paintCapsule(QPainter& painter, const QRectF& rect, const QColor& fill) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(rect, rect.height() / 2, rect.height() / 2);
}

} // namespace

void paintHub(QPainter& painter, const WheelGeometry& geometry, const HubContent& content,
              const WheelPalette& palette) {
    QFont nameFont;
    nameFont.setPixelSize(std::max(1, qRound(geometry.hubNameFontSize())));
    nameFont.setWeight(QFont::DemiBold);
    const QFontMetricsF nameMetrics(nameFont);
    // One line: a name wider than the wheel is elided.
    const QString name = nameMetrics.elidedText(QString::fromStdString(content.name)
                                                    .left(maxNameCharacters)
                                                    .replace(QLatin1Char('\n'), QLatin1Char(' ')),
                                                Qt::ElideRight, std::max(0.0, geometry.side - 20));
    const QSizeF nameCapsule(nameMetrics.horizontalAdvance(name) + 20, nameMetrics.height() + 8);

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
    painter.setFont(nameFont);
    painter.setPen(palette.secondary);
    painter.drawText(capsule, Qt::AlignCenter, name);
    painter.restore();
}

} // namespace rondelix
