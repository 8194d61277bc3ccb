#pragma once

#include "model/Color.h"
#include "model/Config.h"
#include "qtshared/AccessibleItemList.h"

#include <QPainterPath>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

namespace rondelix {

class SliceIconSources;
class WheelGraphic;

// The editor's large wheel: the same graphic as the summoned overlay on a
// disc, as big as the space allows. While interactive, a click selects a
// slot (the selected one wears an accent outline) and dragging a filled slot
// onto another asks for a swap; with the focus the arrows select the next
// slot clockwise (Right, Down) or counter-clockwise (Left, Up) and the Menu
// key or Shift+F10 asks for the selected slot's menu. Otherwise it only
// mirrors what it is given.
class PreviewWheel : public QWidget, public AccessibleItems {
    Q_OBJECT
  public:
    struct Inputs {
        Wheel wheel;
        SharedWheelIds wheelIds;
        std::optional<int> aimedPosition;
        bool interactive = true;
        Color accent = Color::fallback();
        double accentStrength = 1.0;
        int selectedPosition = 0;
        SliceIconSources* icons = nullptr;
    };

    explicit PreviewWheel(QWidget* parent = nullptr);

    void setInputs(Inputs inputs);
    const Inputs& inputs() const { return inputs_; }
    WheelGraphic& graphic() { return *graphic_; }
    // The side of the drawn wheel.
    double side() const;
    // Whether the selection outline is drawn.
    bool showsOutline() const;

    std::function<void(int position)> onSelect;
    std::function<void(int from, int to)> onSwap;
    // The selected slot's menu, to drop from this point on the screen.
    std::function<void(QPoint globalAt)> onMenu;

    // A screen reader's list of the slots, each named by its place and label.
    int accessibleItemCount() const override;
    QString accessibleItemName(int index) const override;
    QRect accessibleItemRect(int index) const override;
    int accessibleSelectedItem() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    class Outline;
    QRectF square() const;
    QPainterPath slotPath(int position, int sliceCount) const;
    void requestMenu();

    Inputs inputs_;
    WheelGraphic* graphic_;
    Outline* outline_;
    // Whether the graphic was given the clicks; none before its first inputs.
    std::optional<bool> graphicClickable_;
};

} // namespace rondelix
