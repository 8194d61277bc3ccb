#include "editor/ui/ChooserRowLayout.h"

#include <algorithm>

namespace rondelix {

namespace {
constexpr int spacingAcross = 10;
constexpr int spacingDown = 6;
} // namespace

std::optional<ChooserRowLayout::Items> ChooserRowLayout::items() const {
    if (items_.size() != 3) return std::nullopt;
    return Items{items_[0], items_[1], items_[2]};
}

bool ChooserRowLayout::buttonBelow(const Items& items, int width) {
    const int oneLine = items.preview->sizeHint().width() + spacingAcross + items.name->sizeHint().width() +
                        spacingAcross + items.button->sizeHint().width();
    return oneLine > width;
}

int ChooserRowLayout::firstLineHeight(const Items& items, bool below) {
    const int beside = std::max(items.preview->sizeHint().height(), items.name->sizeHint().height());
    return below ? beside : std::max(beside, items.button->sizeHint().height());
}

int ChooserRowLayout::heightForWidth(int width) const {
    const auto row = items();
    if (!row) return 0;
    const bool below = buttonBelow(*row, width);
    return firstLineHeight(*row, below) + (below ? spacingDown + row->button->sizeHint().height() : 0);
}

QSize ChooserRowLayout::minimumSize() const {
    const auto row = items();
    if (!row) return {};
    const int across = std::max(row->name->minimumSize().width(), row->button->sizeHint().width());
    return {row->preview->sizeHint().width() + spacingAcross + across, firstLineHeight(*row, false)};
}

QSize ChooserRowLayout::sizeHint() const {
    const auto row = items();
    if (!row) return {};
    return {row->preview->sizeHint().width() + spacingAcross + row->name->sizeHint().width() + spacingAcross +
                row->button->sizeHint().width(),
            firstLineHeight(*row, false)};
}

void ChooserRowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const auto row = items();
    if (!row) return;
    const bool below = buttonBelow(*row, rect.width());
    const int line = firstLineHeight(*row, below);
    const auto centred = [&](QLayoutItem* item, int x, int width) {
        const int height = item->sizeHint().height();
        item->setGeometry(QRect(x, rect.y() + (line - height) / 2, width, height));
    };
    const QSize preview = row->preview->sizeHint();
    const QSize button = row->button->sizeHint();
    centred(row->preview, rect.x(), preview.width());
    const int nameX = rect.x() + preview.width() + spacingAcross;
    if (below) {
        centred(row->name, nameX, rect.right() + 1 - nameX);
        row->button->setGeometry(QRect(QPoint(nameX, rect.y() + line + spacingDown), button));
        return;
    }
    const int buttonX = rect.right() + 1 - button.width();
    centred(row->name, nameX, buttonX - spacingAcross - nameX);
    centred(row->button, buttonX, button.width());
}

} // namespace rondelix
