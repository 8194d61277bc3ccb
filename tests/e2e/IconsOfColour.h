// Icons told apart on a grab of the screen by their colour.

#pragma once

#include <QImage>
#include <QPoint>
#include <vector>

namespace rondelix::e2e {

// The separate patches of at least a hundred pixels of the colour.
inline int iconsOfColour(const QImage& image, QRgb colour) {
    std::vector<bool> seen(static_cast<std::size_t>(image.width() * image.height()));
    const auto index = [&image](QPoint p) { return static_cast<std::size_t>(p.y() * image.width() + p.x()); };
    int icons = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (seen[index({x, y})] || image.pixel(x, y) != colour) continue;
            std::vector<QPoint> patch{{x, y}};
            seen[index({x, y})] = true;
            for (std::size_t i = 0; i < patch.size(); ++i)
                for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint next = patch[i] + step;
                    if (!image.rect().contains(next) || seen[index(next)] || image.pixel(next) != colour)
                        continue;
                    seen[index(next)] = true;
                    patch.push_back(next);
                }
            icons += patch.size() >= 100;
        }
    return icons;
}

} // namespace rondelix::e2e
