#pragma once

#include "qtshared/ItemListLayout.h"

namespace rondelix {

// Lays its items out in a row, left to right at their preferred sizes, and
// carries on in a new row below whatever does not fit: a row of buttons that
// stays whole in a column narrower than all of them side by side.
class FlowLayout : public ItemListLayout {
  public:
    FlowLayout(int horizontalSpacing, int verticalSpacing);

    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    // As narrow as its widest item, as wide as all of them in one row.
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

  private:
    // Places the items in `rect` when `place` is set; answers the height they take.
    int arrange(const QRect& rect, bool place) const;

    int horizontalSpacing_;
    int verticalSpacing_;
};

} // namespace rondelix
