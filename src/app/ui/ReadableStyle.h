#pragma once

#include <QProxyStyle>

namespace rondelix {

// The toolkit's own style, with what it draws too faintly made to read: the
// edges of check boxes and text fields stand out at 3:1 from the window and
// the fields they lie on (the style draws them a shade darker than the
// window, where they all but vanish, and a box the user cannot see is a box
// the user cannot click), and the keyboard focus on a list's row leaves the
// row's colour as it is (the style's tint over a selected row takes its text
// below 4.5:1): a selected row shows it by its selection, another by a ring.
class ReadableStyle final : public QProxyStyle {
  public:
    // Wraps the application's style where it is the toolkit's own, whose
    // drawing this is; a desktop's style keeps its own.
    static void install();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;

  private:
    using QProxyStyle::QProxyStyle;
};

} // namespace rondelix
