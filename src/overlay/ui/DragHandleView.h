#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>
#include <optional>

class QToolButton;

namespace rondelix {

// The small bar above the test wheel: pressing anywhere on it drags the whole
// panel; its red button ends test mode.
class DragHandleView final : public QWidget {
    Q_OBJECT
  public:
    explicit DragHandleView(QWidget* parent);

    std::function<void()> onClose;
    QToolButton* closeButton() const { return closeButton_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void closeTapped();

    QToolButton* closeButton_;
    // Where the press was, relative to the panel's top-left corner.
    std::optional<QPoint> dragOffset_;
};

} // namespace rondelix
