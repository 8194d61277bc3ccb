#pragma once

#include "editor/PillDrag.h"
#include "model/Config.h"
#include "overlay/Spring.h"
#include "qtshared/AccessibleItemList.h"

#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace rondelix {

// The column of wheel pills: one capsule per wheel in list order, the first
// ten with their number-key badge. A click selects a wheel, a drag onto
// another pill moves it there, and the context menu moves it by one place or
// exports it. With the focus, Up and Down select the wheel above or below and
// the Menu key or Shift+F10 opens the selected pill's menu. It draws the list
// it is given and reports gestures; it changes nothing itself.
//
// Pills stand one row apart, so where a pill lies follows from its place in
// the list; only the pills in sight are ever shaped and drawn, and a name is
// elided once and kept, so a list of any length costs no more than a screenful.
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

    // A pill for each wheel. The pills are updated where they stand, so a
    // change to one wheel among a great many copies no other's name; told
    // which one wheel alone changed, the others are not even looked at.
    void showWheels(const std::vector<Wheel>& wheels, const std::string& selectedId, QColor accent,
                    std::optional<std::size_t> onlyChanged = std::nullopt);

    std::function<void(const std::string& id)> onSelect;
    std::function<void(const std::string& draggedId, const std::string& targetId)> onDrop;
    std::function<void(const std::string& id, int offset)> onMoveBy;
    std::function<void(const std::string& id)> onExport;
    // Whether the desktop asks for less motion: pills then lift, follow and
    // return at once.
    std::function<bool()> reduceMotion;

    // Where the pill of a wheel lies, before any lift or offset; none for a
    // wheel the column does not show.
    std::optional<platform::Rect> frame(const std::string& id) const;
    // The frames of the pills in sight by wheel id: the ones a pointer can
    // reach and the column draws.
    PillFrames framesInSight() const;
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
    void changeEvent(QEvent* event) override;

  private:
    // How a pill is drawn right now, following its state with springs. Only
    // pills away from rest have one.
    struct Motion {
        Spring scale{0.3, 0.72};
        Spring x{0.3, 0.72};
        Spring y{0.3, 0.72};
        Motion() { scale.jumpTo(1); }
        bool atRest() const;
    };
    // A name as a pill shows it, and the pill's width with it.
    struct Shown {
        QString text;
        double width = 0;
    };

    void layoutPills();
    double pitch() const { return pillHeight_ + spacing; }
    std::optional<std::size_t> indexOf(const std::string& id) const;
    const Shown& shownAt(std::size_t index) const;
    platform::Rect frameAt(std::size_t index) const;
    // The rows that reach into the band between two heights.
    std::pair<std::size_t, std::size_t> rowsBetween(double top, double bottom) const;
    // Sets every pill's targets from the gesture and hover state and starts the clock.
    void retarget();
    void step();
    void paintPill(QPainter& painter, std::size_t index);
    std::optional<std::size_t> indexUnder(QPointF point) const;
    std::optional<std::string> pillUnder(QPointF point) const;
    void showMenu(std::size_t index, QPoint globalAt);
    void showMenuOfSelected();

    std::vector<Pill> pills_;
    // By the start of the name that is shaped and whether the pill has a badge.
    mutable std::unordered_map<std::string, Shown> shown_;
    double pillHeight_ = 0;
    std::string selectedId_;
    QColor accent_;
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
