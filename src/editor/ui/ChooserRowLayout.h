#pragma once

#include "qtshared/ItemListLayout.h"

#include <optional>

namespace rondelix {

// A chooser row: a preview, a name and the button that changes it, added in
// that order, in one line, the name taking the room between the two and
// each centred on the line. Where the whole name would not fit beside the
// button, the button goes on a line of its own under the name, so that a
// short name never shows cut.
class ChooserRowLayout final : public ItemListLayout {
  public:
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

  private:
    // The three items, while all three are there.
    struct Items {
        QLayoutItem* preview;
        QLayoutItem* name;
        QLayoutItem* button;
    };
    std::optional<Items> items() const;
    // Whether the button stands under the name at that width.
    static bool buttonBelow(const Items& items, int width);
    // The first line's height: the preview's and the name's, and the
    // button's where it stands beside them.
    static int firstLineHeight(const Items& items, bool below);
};

} // namespace rondelix
