#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QToolButton;

namespace rondelix {

class PickerGrid;
class SymbolGridModel;

// The sheet that lists every catalogue symbol in a searchable grid. Clicking
// a cell, or Return or Space on the current one, hands its name to `onPick`
// once and closes the sheet; Cancel and Esc close it without a pick. Each showing starts with an empty
// search.
class SymbolGridPicker : public QDialog {
    Q_OBJECT

  public:
    explicit SymbolGridPicker(std::function<void(const std::string&)> onPick, QWidget* parent = nullptr);
    ~SymbolGridPicker() override;

    // The names shown for the current search, in order.
    const std::vector<std::string>& shownNames() const;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void applyQuery(const QString& query);
    void pick(const QModelIndex& index);

    std::function<void(const std::string&)> onPick_;
    bool picked_ = false;
    QLineEdit* search_;
    QToolButton* clear_;
    PickerGrid* grid_;
    SymbolGridModel* model_;
    QLabel* count_;
};

} // namespace rondelix
