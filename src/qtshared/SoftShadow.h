#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSize>
#include <algorithm>
#include <vector>

namespace rondelix {

namespace softshadow {

// One pass of a running-sum box blur over the alpha of each line, in place;
// `stride` steps along a line, `step` from one line to the next.
inline void boxPass(uchar* data, int lines, int length, qsizetype step, qsizetype stride, int radius) {
    std::vector<int> line(static_cast<std::size_t>(length));
    const int window = 2 * radius + 1;
    for (int l = 0; l < lines; ++l) {
        uchar* first = data + l * step;
        for (int i = 0; i < length; ++i)
            line[static_cast<std::size_t>(i)] = first[i * stride];
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            if (i >= 0 && i < length) sum += line[static_cast<std::size_t>(i)];
        for (int i = 0; i < length; ++i) {
            first[i * stride] = static_cast<uchar>(sum / window);
            const int leaving = i - radius, entering = i + radius + 1;
            if (leaving >= 0) sum -= line[static_cast<std::size_t>(leaving)];
            if (entering < length) sum += line[static_cast<std::size_t>(entering)];
        }
    }
}

} // namespace softshadow

// The shadow a shape casts: the shape in black at the opacity, blurred by
// about `radius` (three box passes each way come close to a Gaussian), on a
// transparent image of `size`. A widget that draws its own shadow inside a
// margin of the radius leaves nothing behind where it has been, as a
// graphics effect drawn past the widget can.
inline QImage softShadow(QSize size, const QPainterPath& shape, int radius, double opacity) {
    QImage alpha(size, QImage::Format_Alpha8);
    alpha.fill(0);
    {
        QPainter painter(&alpha);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(shape, QColor(0, 0, 0, static_cast<int>(255 * opacity)));
    }
    const int box = std::max(1, radius / 3);
    for (int pass = 0; pass < 3; ++pass) {
        softshadow::boxPass(alpha.bits(), alpha.height(), alpha.width(), alpha.bytesPerLine(), 1, box);
        softshadow::boxPass(alpha.bits(), alpha.width(), alpha.height(), 1, alpha.bytesPerLine(), box);
    }
    return alpha;
}

} // namespace rondelix
