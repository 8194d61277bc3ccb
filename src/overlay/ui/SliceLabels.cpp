#include "overlay/ui/SliceLabels.h"

#include "qtshared/QtText.h"

#include <QFontMetricsF>
#include <QString>
#include <algorithm>

namespace rondelix {

namespace {

// Labels are short; a huge one is cut before any layout work.
constexpr std::size_t maxLabelBytes = 512;
constexpr std::size_t maxLayouts = 512;

} // namespace

std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t cut = maxBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    return text.substr(0, cut);
}

QFont SliceLabels::font(int pixelSize) {
    QFont font;
    font.setPixelSize(pixelSize);
    font.setWeight(QFont::Medium);
    return font;
}

TextMeasure measureWith(std::function<QFont(int pixelSize)> fontAt) {
    return {
        .width =
            [fontAt](const std::string& text, int size) {
                return QFontMetricsF(fontAt(size)).horizontalAdvance(toQString(text));
            },
        .lineHeight = [fontAt](int size) { return QFontMetricsF(fontAt(size)).height(); },
        .elide =
            [fontAt](const std::string& text, int size, double maxWidth) {
                return QFontMetricsF(fontAt(size))
                    .elidedText(toQString(text), Qt::ElideRight, maxWidth)
                    .toStdString();
            },
    };
}

const SliceLabel& SliceLabels::layout(const std::string& label, const SlotStack& stack) {
    const std::string text(utf8Prefix(label, maxLabelBytes));
    const SlotArea& area = stack.area;
    std::string key = text;
    for (const double value : {area.geometry.side, static_cast<double>(area.position),
                               static_cast<double>(area.count), stack.iconHeight, stack.spacing, stack.scale})
        key += '\x1f' + std::to_string(static_cast<long long>(value * 64));
    if (const auto found = layouts_.find(key); found != layouts_.end()) return found->second;
    if (layouts_.size() >= maxLayouts) layouts_.clear();

    const FittedText fitted =
        fitLines(text, pixelSize, smallestPixelSize, measureWith(&SliceLabels::font), stack.labelRoom());
    SliceLabel laid;
    laid.font = font(fitted.pixelSize);
    laid.lineHeight = fitted.lineHeight;
    laid.key = key;
    const QFontMetricsF metrics(laid.font);
    for (const std::string& line : fitted.lines) {
        QStaticText staticText(toQString(line));
        staticText.setTextFormat(Qt::PlainText);
        staticText.prepare(QTransform(), laid.font);
        laid.lines.push_back(staticText);
        laid.widths.push_back(metrics.horizontalAdvance(toQString(line)));
        laid.width = std::max(laid.width, laid.widths.back());
    }
    return layouts_.emplace(std::move(key), std::move(laid)).first->second;
}

} // namespace rondelix
