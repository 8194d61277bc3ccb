#pragma once

#include "model/Config.h"
#include "overlay/ui/SliceLabels.h"
#include "overlay/ui/WheelPalette.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QStaticText>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class QPainter;

namespace rondelix {

class SliceIconSources;

// Draws each slice's icon with its label under it, and the faint plus of an
// empty slot. Pictures from outside the configuration (applications' icons,
// the user's images, websites' icons) come from the icon sources; without
// them a slice shows the icon it names itself.
class SliceIconPainter {
  public:
    // How one slice is drawn this frame.
    struct Style {
        QColor foreground;
        QColor emphasisedForeground;
        // 0 to 1: how far the highlight has reached this slice.
        double emphasis = 0;
        double scale = 1;
        // 0 to 1: how far the slice is lifted for dragging (tile, big shadow).
        double lift = 0;
        // The drag tile exists only where slices can be swapped.
        bool showsTile = false;
        // The slot the slice sits in; its label stays inside.
        SlotArea slot;
    };

    void setSources(SliceIconSources* sources) { sources_ = sources; }
    SliceIconSources* sources() const { return sources_; }
    void setPrefetchFavicons(bool prefetch) { prefetchFavicons_ = prefetch; }

    void paintSlice(QPainter& painter, const Slice& slice, QPointF centre, double iconSize,
                    const Style& style, const WheelPalette& palette);
    // The plus of an empty slot, over "Add your own" on the wheel's first
    // slot; the text stays inside the slot as a label does.
    void paintEmptyMarker(QPainter& painter, const SlotArea& slot, double iconSize, bool addYourOwn,
                          const WheelPalette& palette);

    // The custom image file name a slice shows the "photo" symbol for, when
    // its picture cannot be loaded; hosts show it as a tooltip.
    std::optional<std::string> missingCustomImage(const Slice& slice) const;

    // The boxes the slice's label lines take in the wheel's square when the
    // slice is drawn at `scale`.
    std::vector<QRectF> labelBoxes(const Slice& slice, double iconSize, const SlotArea& slot, double scale);
    // The slice's label lines as drawn in that slot, cut short where they are.
    std::vector<QString> labelLines(const Slice& slice, double iconSize, const SlotArea& slot);
    // The boxes the "Add your own" lines take in the wheel's square.
    std::vector<QRectF> markerTextBoxes(const SlotArea& slot, double iconSize);

  private:
    struct IconItem;
    using LabelLayout = SliceLabel;

    IconItem resolveIcon(const Slice& slice, double iconSize);
    IconItem ownIcon(const Icon& icon, double iconSize);
    const LabelLayout& labelLayout(const std::string& label, const IconItem& item, const SlotArea& slot);
    static SlotStack markerStack(const SlotArea& slot, double iconSize);
    void paintItem(QPainter& painter, const IconItem& item, const QRectF& box, const QColor& color);
    // Icon over label, centred on the origin, with the close shadow of an
    // emphasised slice when `shadow` is above 0.
    void paintStack(QPainter& painter, const IconItem& item, const LabelLayout& label, const QColor& color,
                    double shadow);
    // The stack drawn once into an image and reused while nothing it shows changes.
    const QImage& cachedStack(const IconItem& item, const LabelLayout& label, const QColor& color,
                              double shadow, double devicePixelRatio);

    SliceIconSources* sources_ = nullptr;
    bool prefetchFavicons_ = true;
    // The favicon being drawn; the favicon cache owns the image itself.
    QIcon faviconFrame_;
    qint64 faviconKey_ = 0;
    SliceLabels labels_;
    std::unordered_map<std::string, QImage> stacks_;
};

} // namespace rondelix
