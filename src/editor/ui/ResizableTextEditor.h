#pragma once

#include <QWidget>
#include <functional>
#include <optional>

class QLabel;

namespace rondelix {

class LongTextEdit;

// The multi-line, monospaced editor of a text or script slice, with a grip
// at its bottom-right corner that drags its height between the two bounds.
// The height lives only as long as the editor.
class ResizableTextEditor : public QWidget {
    Q_OBJECT

  public:
    ResizableTextEditor(std::function<void(const QString&)> onEdit, int minHeight = 70, int maxHeight = 600,
                        int startHeight = 96, QWidget* parent = nullptr);

    // Shows the text unless it is already shown, so the caret stays put.
    void setText(const QString& text);
    QString text() const;
    int editorHeight() const { return height_; }
    LongTextEdit* editor() const { return edit_; }
    QLabel* grip() const { return grip_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setEditorHeight(int height);

    std::function<void(const QString&)> onEdit_;
    int minHeight_;
    int maxHeight_;
    int height_;
    // The height when the drag under way began, and where it began.
    std::optional<int> startHeight_;
    double pressY_ = 0;
    bool dragging_ = false;
    LongTextEdit* edit_;
    QLabel* grip_;
};

} // namespace rondelix
