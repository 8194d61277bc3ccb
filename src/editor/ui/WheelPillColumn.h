#pragma once

#include "editor/PillDrag.h"
#include "editor/ui/AccessibleItemList.h"
#include "overlay/Spring.h"

#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rondelix {

// The column of wheel pills: one capsule per wheel in list order, the first
// ten with their number-key badge. A click selects a wheel, a drag onto
// another pill moves it there, and the context menu moves it by one place or
// exports it. With the focus, Up and Down select the wheel above or below and
// the Menu key or Shift+F10 opens the selected pill's menu. It draws the list
// it is given and reports gestures; it changes nothing itself.
class WheelPillColumn : public QWidget, public AccessibleItems {
    Q_OBJECT
  public:
    static constexpr int columnWidth = 200;
    static constexpr int leadingPadding = 24;
    static constexpr int topPadding = 4;
    static constexpr int spacing = 8;
    static constexpr int badgeCount = 10;

    struct Pill {
        std::string id;
        std::string name;
    };

    explicit WheelPillColumn(QWidget* parent = nullptr);

    void setPills(std::vector<Pill> pills, const std::string& selectedId, QColor accent);

    std::function<void(const std::string& id)> onSelect;
    std::function<void(const std::string& draggedId, const std::string& targetId)> onDrop;
    std::function<void(const std::string& id, int offset)> onMoveBy;
    std::function<void(const std::string& id)> onExport;

    // Laid-out frames by wheel id, before any lift or offset.
    const PillFrames& frames() const { return frames_; }
    const PillDrag& drag() const { return drag_; }
    const std::optional<std::string>& hovered() const { return hovered_; }
    // The text a pill shows, elided to the column.
    QString shownName(const std::string& id) const;

    QSize sizeHint() const override;

    // A screen reader's list of the wheels by name.
    int accessibleItemCount() const override;
    QString accessibleItemName(int index) const override;
    QRect accessibleItemRect(int index) const override;
    int accessibleSelectedItem() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    // How a pill is drawn right now, following its state with springs.
    struct Motion {
        Spring scale{0.3, 0.72};
        Spring x{0.3, 0.72};
        Spring y{0.3, 0.72};
        Motion() { scale.jumpTo(1); }
    };

    void layoutPills();
    // Sets every pill's targets from the gesture and hover state and starts the clock.
    void retarget();
    void step();
    void paintPill(QPainter& painter, std::size_t index);
    std::optional<std::string> pillUnder(QPointF point) const;
    std::optional<std::size_t> selectedIndex() const;
    void showMenu(std::size_t index, QPoint globalAt);
    void showMenuOfSelected();

    std::vector<Pill> pills_;
    std::vector<QString> shown_;
    std::string selectedId_;
    QColor accent_;
    PillFrames frames_;
    PillFrames framesAtPress_;
    PillDrag drag_;
    QPointF pressPoint_;
    std::optional<std::string> hovered_;
    int height_ = 0;
    std::map<std::string, Motion> motion_;
    QTimer frameTimer_;
    QElapsedTimer clock_;
};

} // namespace rondelix
