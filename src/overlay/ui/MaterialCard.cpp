#include "overlay/ui/MaterialCard.h"

#include "overlay/ui/WheelPalette.h"

#include <QPainter>
#include <QPainterPath>
#include <vector>

namespace rondelix {

namespace {

// One pass of a running-sum box blur over the alpha of each line, in place;
// `stride` steps along a line, `step` from one line to the next.
void boxPass(uchar* data, int lines, int length, qsizetype step, qsizetype stride, int radius) {
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

// Three box passes each way come close to a Gaussian whose spread is the
// shadow's radius.
void blur(QImage& alpha, int radius) {
    const int box = std::max(1, radius / 3);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(alpha.bits(), alpha.height(), alpha.width(), alpha.bytesPerLine(), 1, box);
        boxPass(alpha.bits(), alpha.width(), alpha.height(), 1, alpha.bytesPerLine(), box);
    }
}

} // namespace

MaterialCard::MaterialCard(Look look, QWidget* parent) : QWidget(parent), look_(look) {
    setContentsMargins(look.shadowRadius, look.shadowRadius, look.shadowRadius, look.shadowRadius);
}

const QImage& MaterialCard::shadow() {
    if (shadow_.size() == size()) return shadow_;
    QImage alpha(size(), QImage::Format_Alpha8);
    alpha.fill(0);
    {
        QPainter painter(&alpha);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath shape;
        shape.addRoundedRect(QRectF(cardRect()), look_.cornerRadius, look_.cornerRadius);
        painter.fillPath(shape, QColor(0, 0, 0, static_cast<int>(255 * look_.shadowOpacity)));
    }
    blur(alpha, look_.shadowRadius);
    shadow_ = std::move(alpha);
    return shadow_;
}

void MaterialCard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, shadow());
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = palette().color(QPalette::Window).lightness() < 128;
    QColor material = WheelPalette::forScheme(dark ? ColorScheme::dark : ColorScheme::light).regularMaterial;
    material.setAlpha(255);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(cardRect()), look_.cornerRadius, look_.cornerRadius);
    painter.fillPath(shape, material);
}

} // namespace rondelix
