#pragma once

#include <QColor>
#include <QWidget>

namespace rondelix {

// A row of small capsules, one per step; the current one is long and in the
// accent colour, the others short and faint.
class ProgressDots final : public QWidget {
    Q_OBJECT

  public:
    explicit ProgressDots(int count, QWidget* parent = nullptr);

    void setCurrent(int current, const QColor& accent);
    int current() const { return current_; }

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int count_;
    int current_ = 0;
    QColor accent_;
};

} // namespace rondelix
