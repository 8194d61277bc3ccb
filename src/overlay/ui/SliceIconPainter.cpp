#include "overlay/ui/SliceIconPainter.h"

#include "icons/ui/FaviconImages.h"
#include "icons/ui/SymbolFont.h"
#include "overlay/SliceIconChoice.h"
#include "overlay/ui/ProgramMark.h"
#include "overlay/ui/SliceIconSources.h"
#include "qtshared/QtText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>
#include <algorithm>
#include <variant>

namespace rondelix {

namespace {

constexpr std::size_t maxEmojiBytes = 64;
constexpr std::size_t maxCachedStacks = 256;

QFont emojiFont(double pixelSize) {
    QFont font(QStringLiteral("Noto Color Emoji"));
    font.setPixelSize(std::max(1, qRound(pixelSize)));
    return font;
}

void drawImageFitted(QPainter& painter, const QIcon& icon, const QRectF& box) {
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QSize wanted(qMax(1, qRound(box.width() * dpr)), qMax(1, qRound(box.height() * dpr)));
    const QPixmap pixmap = icon.pixmap(wanted);
    if (pixmap.isNull()) return;
    QSizeF size = pixmap.size();
    size.scale(box.size(), Qt::KeepAspectRatio);
    const QRectF target(box.center().x() - size.width() / 2, box.center().y() - size.height() / 2,
                        size.width(), size.height());
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, pixmap, QRectF(QPointF(0, 0), pixmap.size()));
    painter.restore();
}

} // namespace

struct SliceIconPainter::IconItem {
    enum class Kind { nothing, symbol, emoji, image, mark };
    Kind kind = Kind::nothing;
    std::string text;
    const QIcon* image = nullptr;
    // Tells images apart for the stack cache.
    qint64 imageKey = 0;
    QSizeF size;
    double fontSize = 0;
};

std::optional<std::string> SliceIconPainter::missingCustomImage(const Slice& slice) const {
    const auto* custom = slice.icon.as<Icon::CustomImage>();
    if (!sources_ || !custom ||
        !std::holds_alternative<SliceIconChoice::OwnIcon>(chooseSliceIcon(slice).value))
        return std::nullopt;
    if (sources_->customImage(custom->filename)) return std::nullopt;
    return custom->filename;
}

SliceIconPainter::IconItem SliceIconPainter::ownIcon(const Icon& icon, double iconSize) {
    IconItem item;
    item.fontSize = iconSize * 17 / 28;
    const QSizeF textBox(item.fontSize * 1.25, item.fontSize * 1.25);
    if (const auto* symbol = icon.as<Icon::SfSymbol>()) {
        item.kind = IconItem::Kind::symbol;
        item.text = symbolName(*symbol);
        item.size = textBox;
    } else if (const auto* emoji = icon.as<Icon::Emoji>()) {
        item.kind = IconItem::Kind::emoji;
        item.text = std::string(utf8Prefix(emoji->text, maxEmojiBytes));
        item.size = textBox;
    } else if (const auto* custom = icon.as<Icon::CustomImage>()) {
        if ((item.image = sources_ ? sources_->customImage(custom->filename) : nullptr)) {
            item.kind = IconItem::Kind::image;
            item.imageKey = item.image->cacheKey();
            item.size = QSizeF(iconSize * 0.8, iconSize * 0.8);
        } else {
            item.kind = IconItem::Kind::symbol;
            item.text = "photo";
            item.size = textBox;
        }
    }
    return item;
}

SliceIconPainter::IconItem SliceIconPainter::resolveIcon(const Slice& slice, double iconSize) {
    const SliceIconChoice choice = chooseSliceIcon(slice);
    if (std::holds_alternative<SliceIconChoice::ProgramMark>(choice.value)) {
        IconItem item;
        item.kind = IconItem::Kind::mark;
        item.size = QSizeF(iconSize * 0.66, iconSize * 0.66);
        return item;
    }
    if (const auto* favicon = std::get_if<SliceIconChoice::Favicon>(&choice.value)) {
        if (FaviconImages* favicons = sources_ ? sources_->favicons() : nullptr) {
            if (auto image = favicons->image(favicon->host, prefetchFavicons_); image && !image->isNull()) {
                // Favicons live in their own cache; this icon only lasts the frame.
                IconItem item;
                item.kind = IconItem::Kind::image;
                if (image->cacheKey() != faviconKey_) {
                    faviconFrame_ = QIcon(QPixmap::fromImage(*image));
                    faviconKey_ = image->cacheKey();
                }
                item.image = &faviconFrame_;
                item.imageKey = faviconKey_;
                item.size = QSizeF(iconSize * 0.8, iconSize * 0.8);
                return item;
            }
        }
    } else if (const auto* app = std::get_if<SliceIconChoice::AppIcon>(&choice.value)) {
        if (const QIcon* icon = sources_ ? sources_->appIcon(app->bundleIdentifier, app->path) : nullptr) {
            IconItem item;
            item.kind = IconItem::Kind::image;
            item.image = icon;
            item.imageKey = icon->cacheKey();
            item.size = QSizeF(iconSize, iconSize);
            return item;
        }
    }
    return ownIcon(slice.icon, iconSize);
}

const SliceIconPainter::LabelLayout&
SliceIconPainter::labelLayout(const std::string& label, const IconItem& item, const SlotArea& slot) {
    const bool hasIcon = item.kind != IconItem::Kind::nothing;
    return labels_.layout(label, {.area = slot,
                                  .iconHeight = item.size.height(),
                                  .spacing = hasIcon ? 3.0 : 0.0,
                                  .scale = SliceLabels::emphasisedScale});
}

namespace {

std::vector<QRectF> lineBoxes(const SlotStack& stack, const SliceLabel& label) {
    std::vector<QRectF> boxes;
    for (const Box& b : stack.lineBoxes(label.widths, label.lineHeight))
        boxes.emplace_back(QPointF(b.left, b.top), QPointF(b.right, b.bottom));
    return boxes;
}

const std::string addYourOwn = "Add your own";

double markerFontSize(double iconSize) {
    return iconSize * 15 / 28;
}

} // namespace

std::vector<QRectF> SliceIconPainter::labelBoxes(const Slice& slice, double iconSize, const SlotArea& slot,
                                                 double scale) {
    const IconItem item = resolveIcon(slice, iconSize);
    return lineBoxes({.area = slot,
                      .iconHeight = item.size.height(),
                      .spacing = item.kind != IconItem::Kind::nothing ? 3.0 : 0.0,
                      .scale = scale},
                     labelLayout(slice.label, item, slot));
}

std::vector<QString> SliceIconPainter::labelLines(const Slice& slice, double iconSize, const SlotArea& slot) {
    std::vector<QString> lines;
    for (const QStaticText& line : labelLayout(slice.label, resolveIcon(slice, iconSize), slot).lines)
        lines.push_back(line.text());
    return lines;
}

SlotStack SliceIconPainter::markerStack(const SlotArea& slot, double iconSize) {
    // Markers never grow, so the text has the slot's room at its own size.
    return {.area = slot, .iconHeight = markerFontSize(iconSize) * 1.25, .spacing = 3, .scale = 1};
}

std::vector<QRectF> SliceIconPainter::markerTextBoxes(const SlotArea& slot, double iconSize) {
    const SlotStack stack = markerStack(slot, iconSize);
    return lineBoxes(stack, labels_.layout(addYourOwn, stack));
}

void SliceIconPainter::paintItem(QPainter& painter, const IconItem& item, const QRectF& box,
                                 const QColor& color) {
    switch (item.kind) {
    case IconItem::Kind::nothing:
        return;
    case IconItem::Kind::symbol:
        SymbolFont::paint(painter, item.text, box, item.fontSize, color);
        return;
    case IconItem::Kind::emoji: {
        painter.setFont(emojiFont(item.fontSize));
        painter.setPen(color);
        const QString text =
            QFontMetricsF(painter.font()).elidedText(toQString(item.text), Qt::ElideRight, box.width() * 3);
        painter.drawText(box.adjusted(-box.width(), 0, box.width(), 0), Qt::AlignCenter, text);
        return;
    }
    case IconItem::Kind::image:
        if (item.image) drawImageFitted(painter, *item.image, box);
        return;
    case IconItem::Kind::mark:
        paintProgramMark(painter, box, color);
        return;
    }
}

void SliceIconPainter::paintStack(QPainter& painter, const IconItem& item, const LabelLayout& label,
                                  const QColor& color, double shadow) {
    const double spacing = item.kind != IconItem::Kind::nothing && !label.lines.empty() ? 3 : 0;
    const double top = -(item.size.height() + spacing + label.height()) / 2;
    const QRectF iconBox(-item.size.width() / 2, top, item.size.width(), item.size.height());
    const double labelTop = top + item.size.height() + spacing;
    const bool tinted = item.kind == IconItem::Kind::symbol || item.kind == IconItem::Kind::mark;
    const auto paintTinted = [&](QPointF shift, const QColor& tint) {
        if (tinted) paintItem(painter, item, iconBox.translated(shift), tint);
        painter.setFont(label.font);
        painter.setPen(tint);
        for (std::size_t i = 0; i < label.lines.size(); ++i)
            painter.drawStaticText(QPointF(-label.widths[i] / 2 + shift.x(),
                                           labelTop + label.lineHeight * static_cast<double>(i) + shift.y()),
                                   label.lines[i]);
    };
    if (shadow > 0) {
        // A soft shadow hugging the glyphs: faint copies a fraction of a point away.
        const QColor dark(0, 0, 0, qRound(255 * std::min(1.0, shadow) / 2.5));
        for (const QPointF shift : {QPointF(0.75, 0), QPointF(-0.75, 0), QPointF(0, 0.75), QPointF(0, -0.75)})
            paintTinted(shift, dark);
    }
    if (!tinted) paintItem(painter, item, iconBox, color);
    paintTinted(QPointF(0, 0), color);
}

const QImage& SliceIconPainter::cachedStack(const IconItem& item, const LabelLayout& label,
                                            const QColor& color, double shadow, double devicePixelRatio) {
    std::string key = label.key;
    key += '\x1e' + std::to_string(static_cast<int>(item.kind)) + '\x1e' + item.text + '\x1e' +
           std::to_string(item.imageKey) + '\x1e' + std::to_string(qRound(item.size.width() * 100)) + 'x' +
           std::to_string(qRound(item.size.height() * 100)) + '\x1e' + std::to_string(color.rgba()) + '\x1e' +
           std::to_string(qRound(shadow * 1000)) + '\x1e' + std::to_string(qRound(devicePixelRatio * 100));
    if (const auto found = stacks_.find(key); found != stacks_.end()) return found->second;
    if (stacks_.size() >= maxCachedStacks) stacks_.clear();

    const double spacing = item.kind != IconItem::Kind::nothing && !label.lines.empty() ? 3 : 0;
    // Room for the shadow and for emoji that overhang their box.
    const double width = std::max(item.size.width() * 3, label.width) + 4;
    const double height = item.size.height() + spacing + label.height() + 4;
    QImage image(std::max(1, qCeil(width * devicePixelRatio)), std::max(1, qCeil(height * devicePixelRatio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(width / 2, height / 2);
    paintStack(painter, item, label, color, shadow);
    painter.end();
    return stacks_.emplace(std::move(key), std::move(image)).first->second;
}

void SliceIconPainter::paintSlice(QPainter& painter, const Slice& slice, QPointF centre, double iconSize,
                                  const Style& style, const WheelPalette& palette) {
    const IconItem item = resolveIcon(slice, iconSize);
    const LabelLayout& label = labelLayout(slice.label, item, style.slot);
    const double emphasis = std::clamp(style.emphasis, 0.0, 1.0);

    painter.save();
    painter.translate(centre);
    painter.scale(style.scale, style.scale);
    if (style.lift > 0) {
        // A lifted slice moves every frame; it is drawn directly.
        const double spacing = item.kind != IconItem::Kind::nothing && !label.lines.empty() ? 3 : 0;
        const double height = item.size.height() + spacing + label.height();
        const double width = std::max(item.size.width(), label.width);
        const QRectF tile(-width / 2 - 10, -height / 2 - 7, width + 20, height + 14);
        painter.setPen(Qt::NoPen);
        // Stacked rounded rectangles stand in for a blurred shadow.
        for (int ring = 8; ring >= 1; --ring) {
            const double spread = ring * 1.5;
            painter.setBrush(QColor(0, 0, 0, qRound(255 * 0.32 * std::min(1.0, style.lift) / 9)));
            painter.drawRoundedRect(tile.translated(0, 5).adjusted(-spread, -spread, spread, spread),
                                    13 + spread, 13 + spread);
        }
        if (style.showsTile) {
            painter.setBrush(withOpacity(palette.regularMaterial, style.lift));
            painter.setPen(QPen(QColor(255, 255, 255, qRound(255 * 0.22 * std::min(1.0, style.lift))), 1));
            painter.drawRoundedRect(tile.adjusted(0.5, 0.5, -0.5, -0.5), 12.5, 12.5);
        }
        paintStack(painter, item, label, style.foreground, 0);
        painter.restore();
        return;
    }

    const double dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    // While the highlight eases in or out, the plain and the emphasised
    // looks cross-fade.
    const auto draw = [&](const QColor& color, double shadow, double opacity) {
        if (opacity <= 0) return;
        // Drawn at the scale it is shown at, so the grown icon stays sharp.
        const QImage& image = cachedStack(item, label, color, shadow, dpr * style.scale);
        const QSizeF size = image.deviceIndependentSize();
        painter.setOpacity(opacity);
        painter.drawImage(QRectF(QPointF(-size.width() / 2, -size.height() / 2), size), image);
    };
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    draw(style.foreground, 0, 1 - emphasis);
    draw(style.emphasisedForeground, 0.35, emphasis);
    painter.restore();
}

void SliceIconPainter::paintEmptyMarker(QPainter& painter, const SlotArea& slot, double iconSize,
                                        bool withText, const WheelPalette& palette) {
    const double fontSize = markerFontSize(iconSize);
    const QSizeF plus(fontSize * 1.25, fontSize * 1.25);
    const Point at = slot.geometry.slotPoint(slot.position, slot.count);
    const QPointF centre(at.x, at.y);
    if (!withText) {
        SymbolFont::paint(painter, "plus",
                          QRectF(centre - QPointF(plus.width() / 2, plus.height() / 2), plus), fontSize,
                          withOpacity(palette.secondary, 0.6));
        return;
    }
    const QColor color = withOpacity(palette.secondary, 0.75);
    const SlotStack stack = markerStack(slot, iconSize);
    const SliceLabel& label = labels_.layout(addYourOwn, stack);
    const double top = centre.y() - (plus.height() + 3 + label.height()) / 2;
    SymbolFont::paint(painter, "plus",
                      QRectF(centre.x() - plus.width() / 2, top, plus.width(), plus.height()), fontSize,
                      color);
    painter.setFont(label.font);
    painter.setPen(color);
    const double labelTop = top + plus.height() + 3;
    for (std::size_t i = 0; i < label.lines.size(); ++i)
        painter.drawStaticText(
            QPointF(centre.x() - label.widths[i] / 2, labelTop + label.lineHeight * static_cast<double>(i)),
            label.lines[i]);
}

} // namespace rondelix
