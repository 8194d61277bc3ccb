#include "editor/ui/LongTextEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextBlock>
#include <functional>
#include <gtest/gtest.h>

using namespace rondelix;

namespace {

QString words(qsizetype length) {
    QString text;
    while (text.size() < length)
        text += QStringLiteral("lorem ipsum dolor ");
    return text.left(length);
}

// No paragraph longer than a piece, none ending inside a surrogate pair.
void expectCut(const LongTextEdit& edit, const char* what) {
    for (QTextBlock block = edit.document()->firstBlock(); block.isValid(); block = block.next()) {
        EXPECT_LE(block.length() - 1, LongTextEdit::pieceLength) << what;
        if (!block.text().isEmpty()) {
            EXPECT_FALSE(block.text().back().isHighSurrogate()) << what;
        }
    }
}

void select(LongTextEdit& edit, int from, int to) {
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    edit.setTextCursor(cursor);
}

// Where the second piece of the first line starts, in the document and in
// the text.
int secondPiece(const LongTextEdit& edit) {
    return edit.document()->firstBlock().next().position();
}
int firstPieceLength(const LongTextEdit& edit) {
    return edit.document()->firstBlock().length() - 1;
}

// A long line is kept in pieces, yet every edit reads as if it were whole.
// Each case starts from a text, edits it and says what the text must read.
TEST(LongTextEdit, EditsOfALongLineReadAsOneLine) {
    const QString line = words(20000);
    const QString emoji = QString(QStringLiteral("😀")).repeated(5000);
    struct Case {
        const char* what;
        QString start;
        std::function<QString(LongTextEdit&)> edit;
    };
    const std::vector<Case> cases{
        {"shown as set", line, [&](LongTextEdit&) { return line; }},
        {"emoji are never cut in half", emoji, [&](LongTextEdit&) { return emoji; }},
        {"a paste into a short text, then a key after it", QStringLiteral("ab"),
         [&](LongTextEdit& e) {
             select(e, 1, 1);
             e.insertPlainText(line);
             QTest::keyClicks(&e, QStringLiteral("Z"));
             return QStringLiteral("a") + line + QStringLiteral("Zb");
         }},
        {"Backspace at the start of a piece takes the character before it", line,
         [&](LongTextEdit& e) {
             const int cut = firstPieceLength(e);
             select(e, secondPiece(e), secondPiece(e));
             QTest::keyClick(&e, Qt::Key_Backspace);
             return line.left(cut - 1) + line.mid(cut);
         }},
        {"Delete at the end of a piece takes the character after it", line,
         [&](LongTextEdit& e) {
             const int cut = firstPieceLength(e);
             select(e, cut, cut);
             QTest::keyClick(&e, Qt::Key_Delete);
             return line.left(cut) + line.mid(cut + 1);
         }},
        {"Return inside a piece makes one line break", line,
         [&](LongTextEdit& e) {
             const int at = secondPiece(e) + 5;
             const int cut = firstPieceLength(e);
             select(e, at, at);
             QTest::keyClick(&e, Qt::Key_Return);
             return line.left(cut + 5) + QStringLiteral("\n") + line.mid(cut + 5);
         }},
        {"a selection across a break deletes just its characters", line + QStringLiteral("\nend"),
         [&](LongTextEdit& e) {
             const int cut = firstPieceLength(e);
             select(e, cut - 3, secondPiece(e) + 3);
             QTest::keyClick(&e, Qt::Key_Backspace);
             return line.left(cut - 3) + line.mid(cut + 3) + QStringLiteral("\nend");
         }},
    };
    for (const Case& c : cases) {
        LongTextEdit edit;
        edit.resize(300, 200);
        edit.setText(c.start);
        const QString expected = c.edit(edit);
        EXPECT_EQ(edit.text(), expected) << c.what;
        expectCut(edit, c.what);
    }

    // What is copied has no break where the pieces meet.
    LongTextEdit edit;
    edit.setText(line);
    const int cut = firstPieceLength(edit);
    select(edit, cut - 3, secondPiece(edit) + 3);
    edit.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), line.mid(cut - 3, 6));
}

} // namespace
