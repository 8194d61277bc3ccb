#pragma once

#include "icons/ui/EmojiPopup.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

class QLineEdit;
class QPushButton;

namespace rondelix {

// A small field that holds one emoji, and a button that opens the program's
// emoji popup. The text belongs to the caller: `setEmoji` shows it and every
// edit goes back through `onChange`, already cut down to its last character.
class EmojiPickerField : public QWidget {
    Q_OBJECT

  public:
    explicit EmojiPickerField(std::function<void(const std::string&)> onChange, QWidget* parent = nullptr);

    void setEmoji(const std::string& emoji);
    std::string emoji() const;

    // The open popup, if any.
    EmojiPopup* popup() const { return popup_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void edited(const QString& text);
    void openPopup();
    void insertChosen(const std::string& emoji);

    std::function<void(const std::string&)> onChange_;
    QLineEdit* field_;
    QPushButton* choose_;
    QPointer<EmojiPopup> popup_;
};

} // namespace rondelix
