#include "editor/ui/LongTextEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <vector>

namespace rondelix {

namespace {

// Marks a paragraph that goes on the line of the one before it.
constexpr int continuation = 1;

bool continues(const QTextBlock& block) {
    return block.isValid() && block.userState() == continuation;
}

// A line cut into pieces of at most `pieceLength` characters, each cut after
// the last blank of its final stretch where there is one, never between the
// halves of a surrogate pair.
QStringList piecesOf(const QString& line) {
    QStringList pieces;
    qsizetype start = 0;
    while (line.size() - start > LongTextEdit::pieceLength) {
        qsizetype cut = start + LongTextEdit::pieceLength;
        for (qsizetype i = cut; i > cut - 256; --i)
            if (line.at(i - 1).isSpace()) {
                cut = i;
                break;
            }
        if (cut == start + LongTextEdit::pieceLength && line.at(cut - 1).isHighSurrogate()) --cut;
        pieces << line.mid(start, cut - start);
        start = cut;
    }
    pieces << line.mid(start);
    return pieces;
}

} // namespace

LongTextEdit::LongTextEdit(QWidget* parent) : QPlainTextEdit(parent) {
    connect(this, &QPlainTextEdit::textChanged, this, [this] { splitLongParagraphs(); });
}

QString LongTextEdit::text() const {
    return textBetween(0, document()->characterCount() - 1);
}

bool LongTextEdit::setText(const QString& text) {
    if (this->text() == text) return false;
    const QSignalBlocker quiet(this);
    // Cut before the text goes in: laying out a megabyte paragraph even once
    // for each cut would take minutes.
    QStringList paragraphs;
    std::vector<bool> continuing;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QStringList pieces = piecesOf(line);
        for (qsizetype i = 0; i < pieces.size(); ++i)
            continuing.push_back(i > 0);
        paragraphs << pieces;
    }
    setPlainText(paragraphs.join(QLatin1Char('\n')));
    std::size_t index = 0;
    for (QTextBlock block = document()->firstBlock(); block.isValid() && index < continuing.size();
         block = block.next())
        block.setUserState(continuing[index++] ? continuation : -1);
    return true;
}

QString LongTextEdit::textBetween(int from, int to) const {
    QString text;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        if (block.position() > from && !continues(block)) text += QLatin1Char('\n');
        const int start = std::max(from, block.position());
        const int end = std::min(to, block.position() + block.length() - 1);
        if (end > start) text += block.text().mid(start - block.position(), end - start);
    }
    // A line break typed with Shift is a separator inside the paragraph.
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void LongTextEdit::splitLongParagraphs() {
    // Nobody hears of the text half cut: it reads the same once cut.
    const QSignalBlocker quiet(this);
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        if (block.length() - 1 <= pieceLength) continue;
        const QStringList pieces = piecesOf(block.text());
        // Where the caret and the selection's other end go: the same
        // characters, one position further for every cut before them.
        const int start = block.position();
        const int end = start + block.length() - 1;
        const auto moved = [&](int position) {
            if (position <= start) return position;
            if (position > end) return position + int(pieces.size()) - 1;
            int shift = 0, offset = 0;
            for (qsizetype i = 0; i + 1 < pieces.size(); ++i) {
                offset += int(pieces[i].size());
                if (offset < position - start) ++shift;
            }
            return position + shift;
        };
        const QTextCursor caret = textCursor();
        const int anchor = moved(caret.anchor()), position = moved(caret.position());
        const int state = block.userState();

        QTextCursor cut(block);
        cut.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cut.insertText(pieces.join(QLatin1Char('\n')));
        QTextBlock piece = document()->findBlock(start);
        piece.setUserState(state);
        for (qsizetype i = 1; i < pieces.size(); ++i) {
            piece = piece.next();
            piece.setUserState(continuation);
        }
        block = piece;

        QTextCursor restored(document());
        restored.setPosition(anchor);
        restored.setPosition(position, QTextCursor::KeepAnchor);
        setTextCursor(restored);
    }
}

void LongTextEdit::keyPressEvent(QKeyEvent* event) {
    QTextCursor cursor = textCursor();
    const bool plain = !isReadOnly() && !cursor.hasSelection() && !(event->modifiers() & ~Qt::KeypadModifier);
    // At a piece break the character to take is in the next piece over.
    if (plain && event->key() == Qt::Key_Backspace && cursor.atBlockStart() && continues(cursor.block())) {
        cursor.movePosition(QTextCursor::PreviousCharacter);
        cursor.deletePreviousChar();
        return;
    }
    if (plain && event->key() == Qt::Key_Delete && cursor.atBlockEnd() && continues(cursor.block().next())) {
        cursor.movePosition(QTextCursor::NextCharacter);
        cursor.deleteChar();
        return;
    }
    // A line break typed inside a long line starts a line of its own.
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        const int state = cursor.block().userState();
        cursor.insertBlock();
        cursor.block().previous().setUserState(state);
        cursor.block().setUserState(-1);
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

QMimeData* LongTextEdit::createMimeDataFromSelection() const {
    const QTextCursor cursor = textCursor();
    auto* data = new QMimeData;
    data->setText(textBetween(cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}

} // namespace rondelix
