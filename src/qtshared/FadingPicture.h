#pragma once

#include <QPixmap>
#include <QWidget>

class QPropertyAnimation;

namespace rondelix {

// A picture laid over a view that fades out and then deletes itself. It
// paints its picture at its opacity in one draw: an opacity effect would
// first paint it into a buffer of its own on every frame and then blend that.
class FadingPicture final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double opacity READ opacity WRITE setOpacity)

  public:
    FadingPicture(QPixmap picture, QWidget& over);

    // Starts the fade, which lasts the given time and ends with the picture gone.
    QPropertyAnimation* fadeOut(int durationMs, const QEasingCurve& curve);
    double opacity() const { return opacity_; }
    void setOpacity(double opacity);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap picture_;
    double opacity_ = 1;
};

} // namespace rondelix
