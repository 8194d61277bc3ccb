#pragma once

#include <QPlainTextEdit>

namespace rondelix {

// A plain-text editor that stays quick with a pasted megabyte on one line.
// The text engine lays out a whole paragraph again after every keystroke, so
// a line longer than a few thousand characters is kept as a chain of
// paragraphs that continue one another: they are shown like the wrapped line
// they are, and `text()`, copying and deleting treat them as one line.
class LongTextEdit : public QPlainTextEdit {
    Q_OBJECT

  public:
    // The longest paragraph kept whole.
    static constexpr int pieceLength = 4096;

    explicit LongTextEdit(QWidget* parent = nullptr);

    // The text as typed, without the breaks between pieces of a long line.
    QString text() const;
    // Shows the text unless it is already shown, so the caret stays put.
    // True when it changed what is shown.
    bool setText(const QString& text);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;

  private:
    // The text between two document positions, without the piece breaks.
    QString textBetween(int from, int to) const;
    // Cuts every paragraph longer than a piece, after a blank where one is near.
    void splitLongParagraphs();
};

} // namespace rondelix
