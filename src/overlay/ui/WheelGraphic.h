#pragma once

#include "model/Color.h"
#include "model/Config.h"
#include "overlay/SliceDrag.h"
#include "overlay/Spring.h"
#include "overlay/WheelGeometry.h"
#include "overlay/ui/HubPainter.h"
#include "overlay/ui/SliceIconPainter.h"
#include "overlay/ui/SliceIconSources.h"
#include "overlay/ui/WheelPalette.h"

#include <QElapsedTimer>
#include <QImage>
#include <QRadialGradient>
#include <QTimer>
#include <QVariantAnimation>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rondelix {

// The one view that draws a wheel: the ring of slots around an empty hub,
// the glow behind the highlighted slot, the rim, the hub with the name and
// the wheel switcher, icons, labels and empty-slot markers. The overlay, the
// editor's preview, the gallery and the add-wheel sheet each use it with
// their own inputs. It never changes the configuration: taps and swaps leave
// through the callbacks, and hover and drag state stay here.
class WheelGraphic : public QWidget {
    Q_OBJECT
  public:
    struct Inputs {
        Wheel wheel;
        // Set by the summon engine; wins over hover and drag for the highlight.
        std::optional<int> aimedPosition;
        // The ids of all the wheels, in order: they drive the switcher;
        // none shows the name alone.
        SharedWheelIds wheelIds;
        std::string activeWheelId = "default";
        bool isVisible = false;
        Color accent = Color::fallback();
        double accentStrength = 1.0;
        // Its presence turns on hover and clicking slots.
        std::function<void(int position)> onTapSlice;
        // Its presence turns on dragging a slot onto another.
        std::function<void(int from, int to)> onSwapSlice;
        // Side of the drawn square; none fits the widget.
        std::optional<double> diameter;
        bool prefetchFavicons = false;
        bool showsHubLabel = true;
        // Where applications', images' and websites' icons come from; without
        // them each slice shows the icon it names itself.
        SliceIconSources* icons = nullptr;

        // A wheel drawn with the accent settings of `behavior`.
        static Inputs of(Wheel wheel, const Behavior& behavior);
    };

    explicit WheelGraphic(QWidget* parent = nullptr);

    void setInputs(Inputs inputs);
    const Inputs& inputs() const { return inputs_; }

    // Hosts pass the appearance and the reduce-motion setting; by default the
    // appearance follows the widget's palette.
    void setColorScheme(std::optional<ColorScheme> scheme);
    ColorScheme colorScheme() const;
    void setReduceMotion(bool reduce);

    std::optional<int> highlighted() const;
    // The highlighted slice's label, "Empty slot" over an empty one, and
    // empty while none is highlighted.
    QString highlightedLabel() const;
    std::optional<int> draggingSource() const { return rondelix::draggingSource(sliceDrag_); }
    std::optional<int> hoveredPosition() const { return hoveredPosition_; }
    const SliceDrag& sliceDrag() const { return sliceDrag_; }
    bool isFilled(int position) const;
    bool isAnimating() const;

    // The drawn square in widget coordinates.
    QRectF square() const;
    // Paints the wheel as it looks now, in widget coordinates.
    void paint(QPainter& painter);
    // The highlighted slot's glow alone, as paint() draws it. The glow
    // reaches past the drawn square by glowSpill() on every side; a host
    // whose graphic is just the square draws it again around the square.
    void paintGlow(QPainter& painter);
    double glowSpill() const;
    // Whether a glow is drawn now.
    bool glows() const;

    QSize sizeHint() const override;

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    const std::vector<std::string>& drawnWheelIds() const;
    // What the highlight animation moves between.
    struct HighlightLook {
        std::vector<double> emphasis;
        Point glowPoint;
        double glowOpacity = 0;
    };
    // The slice being dragged, or springing back after a drag.
    struct LiftedSlice {
        Uuid sliceId;
        Spring x{0.32, 0.72};
        Spring y{0.32, 0.72};
        Spring lift{0.32, 0.72};
    };

    void useIconSources(SliceIconSources* sources);
    WheelGeometry geometry() const;
    Point toSquare(QPointF widgetPoint) const;
    HighlightLook targetLook() const;
    HighlightLook currentLook() const;
    void highlightMayHaveChanged(bool animate);
    void dragChanged();
    void setHovered(std::optional<int> position);
    void stepSprings();
    void updateLiftTargets();

    void paintGlow(QPainter& painter, const WheelGeometry& geometry, const HighlightLook& look);
    // The slots as they look unhighlighted and the rim are drawn once into
    // an image and reused while they stay the same; each frame paints only
    // the highlighted slots over it. The hub has an image of its own, drawn
    // above the slots, so a highlighted slot never covers a wide name.
    struct StaticLayerKey {
        double side = 0;
        double devicePixelRatio = 1;
        ColorScheme scheme = ColorScheme::light;
        // Per slot: filled and not being dragged away.
        std::vector<bool> filledLook;
        friend bool operator==(const StaticLayerKey&, const StaticLayerKey&) = default;
    };
    struct HubLayerKey {
        double side = 0;
        double devicePixelRatio = 1;
        ColorScheme scheme = ColorScheme::light;
        HubContent hub;
        friend bool operator==(const HubLayerKey&, const HubLayerKey&) = default;
    };
    StaticLayerKey staticLayerKey(const WheelGeometry& geometry, double devicePixelRatio) const;
    const QImage& staticLayer(const WheelGeometry& geometry, double devicePixelRatio);
    void paintHubLayer(QPainter& painter, const WheelGeometry& geometry);
    static QRadialGradient baseFill(const WheelGeometry& geometry, const WheelPalette& colors,
                                    bool filledLook, double opacity);
    void paintSlots(QPainter& painter, const WheelGeometry& geometry, const HighlightLook& look);
    void paintDragMark(QPainter& painter, const WheelGeometry& geometry);
    void paintRim(QPainter& painter, const WheelGeometry& geometry);
    void paintIcons(QPainter& painter, const WheelGeometry& geometry, const HighlightLook& look);
    WheelPalette palette() const;

    Inputs inputs_;
    std::optional<ColorScheme> colorScheme_;
    bool reduceMotion_ = false;
    std::optional<int> hoveredPosition_;
    SliceDrag sliceDrag_;

    // The slot gesture in progress: where it started.
    std::optional<int> pressedSlot_;
    Point pressPoint_;

    std::optional<int> shownHighlight_;
    HighlightLook fromLook_;
    HighlightLook toLook_;
    QVariantAnimation highlightAnimation_;

    std::optional<LiftedSlice> lifted_;
    QTimer springTimer_;
    QElapsedTimer springClock_;

    SliceIconPainter icons_;
    QMetaObject::Connection faviconsArrived_;
    QMetaObject::Connection storedRedrawn_;
    StaticLayerKey staticLayerKey_;
    QImage staticLayer_;
    HubLayerKey hubLayerKey_;
    QImage hubLayer_;
    QPointF hubLayerOrigin_;
};

} // namespace rondelix
