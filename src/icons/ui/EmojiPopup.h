#pragma once

#include "icons/EmojiCatalog.h"

#include <QFrame>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QTabBar;

namespace rondelix {

class EmojiGridModel;
class PickerGrid;

// The program's emoji palette: the Unicode emoji in their groups, one group
// at a time, or every emoji whose name holds the search. Clicking one, or
// Return or Space on the current one, hands it to `onPick` and closes the
// popup; Down from the search enters the grid and Esc closes without a pick.
class EmojiPopup : public QFrame {
    Q_OBJECT

  public:
    EmojiPopup(const std::vector<EmojiGroup>& groups, std::function<void(const std::string&)> onPick,
               QWidget* parent = nullptr);
    ~EmojiPopup() override;

    // The emoji shown now, in order.
    const std::vector<EmojiEntry>& shownEmoji() const;

  private:
    void refresh();

    const std::vector<EmojiGroup>& groups_;
    std::function<void(const std::string&)> onPick_;
    QLineEdit* search_;
    QTabBar* tabs_;
    PickerGrid* grid_;
    EmojiGridModel* model_;
    QLabel* empty_;
};

} // namespace rondelix
