#pragma once

#include <QColor>
#include <QPushButton>

namespace rondelix {

// A button that shows a colour and opens a picker for it. With the focus a
// ring stands apart from it, so it shows even around a swatch of the focus
// colour; screen readers hear the colour as the button's description.
class ColorSwatch : public QPushButton {
  public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    void setColor(const QColor& color);
    QColor color() const { return color_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor color_;
};

} // namespace rondelix
