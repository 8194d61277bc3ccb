#pragma once

#include "editor/ui/LongTextEdit.h"

#include <functional>

namespace rondelix {

// The slice label field: borderless plain text in the regular font that
// wraps at its width and grows a line at a time, so a label with line
// breaks still sits in one row. Return inserts a line break.
class GrowingTextField : public LongTextEdit {
    Q_OBJECT

  public:
    explicit GrowingTextField(std::function<void(const QString&)> onEdit, QWidget* parent = nullptr);

    // Shows the text unless it is already shown, so the caret and the
    // selection survive the refresh that each keystroke causes.
    void setText(const QString& text);

    QSize sizeHint() const override;
    // As tall as its lines; as narrow as the column makes it, since it wraps.
    QSize minimumSizeHint() const override;

  protected:
    // Reached by the keys (Tab, or Add Action handing it the new slice's
    // placeholder label), it selects its text as a line field does, so that
    // typing replaces it.
    void focusInEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Pasted or dropped text comes in without control characters; its line
    // breaks stay.
    void insertFromMimeData(const QMimeData* source) override;

  private:
    int contentHeight() const;
    void fitHeight();

    std::function<void(const QString&)> onEdit_;
};

} // namespace rondelix
