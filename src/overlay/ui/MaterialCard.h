#pragma once

#include <QImage>
#include <QWidget>

namespace rondelix {

// A rounded card of the regular material that casts a soft shadow around it.
// The card draws the shadow itself, inside a margin of the shadow's radius
// (its layout fills the rest): a graphics effect would not survive the
// opacity effect that fades a celebration in and out. Nothing behind a child
// widget can be blurred, so the material is opaque.
class MaterialCard : public QWidget {
  public:
    struct Look {
        double cornerRadius = 20;
        int shadowRadius = 30;
        double shadowOpacity = 0.33;
    };

    explicit MaterialCard(Look look, QWidget* parent = nullptr);

    // The card itself, inside the shadow's margin.
    QRect cardRect() const { return contentsRect(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const QImage& shadow();

    Look look_;
    QImage shadow_;
};

} // namespace rondelix
