#pragma once

#include "platform/Geometry.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <cmath>

namespace rondelix {

// Qt places windows in top-left desktop coordinates; the system's rules are
// written for an origin at the bottom left of the primary screen with y
// growing upwards. The primary screen anchors both; without one they coincide.
struct DesktopCoordinates {
    static QRect primary() {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->geometry() : QRect();
    }
    static double bottom(const QRect& primary) {
        return primary.isNull() ? 0 : primary.y() + primary.height();
    }

    static platform::Rect fromQt(const QRect& rect) {
        const QRect p = primary();
        return {static_cast<double>(rect.x() - p.x()), bottom(p) - (rect.y() + rect.height()),
                static_cast<double>(rect.width()), static_cast<double>(rect.height())};
    }
    static QRect toQt(const platform::Rect& rect) {
        const QRect p = primary();
        return {round(rect.x + p.x()), round(bottom(p) - rect.y - rect.height), round(rect.width),
                round(rect.height)};
    }
    static platform::Point fromQt(const QPoint& point) {
        const QRect p = primary();
        return {static_cast<double>(point.x() - p.x()), bottom(p) - point.y()};
    }
    static QPoint toQt(platform::Point point) {
        const QRect p = primary();
        return {round(point.x + p.x()), round(bottom(p) - point.y)};
    }

  private:
    static int round(double v) { return static_cast<int>(std::lround(v)); }
};

} // namespace rondelix
