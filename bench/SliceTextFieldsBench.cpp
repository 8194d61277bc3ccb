// A keystroke in the slice form's label field and in its script editor while
// they hold a pasted megabyte on one line, from the key to the redrawn field.
// The target is well under a frame (16 ms).

#include "BenchApplication.h"
#include "editor/ui/GrowingTextField.h"
#include "editor/ui/LongTextEdit.h"
#include "editor/ui/ResizableTextEditor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <benchmark/benchmark.h>

using namespace rondelix;

namespace {

// A megabyte of words with no line break, as a paste from a web page gives it.
QString megabyteLine() {
    QString line;
    line.reserve(1024 * 1024);
    while (line.size() < 1024 * 1024)
        line += QStringLiteral("the quick brown fox jumps over the lazy dog ");
    return line;
}

// Types "a" and takes it back by turns at the end of the text, letting what
// shows on screen redraw after each key.
void typeAtTheEnd(benchmark::State& state, QPlainTextEdit& edit, QWidget& onScreen) {
    edit.setFocus();
    edit.moveCursor(QTextCursor::End);
    QCoreApplication::processEvents();
    bool add = true;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, add ? Qt::Key_A : Qt::Key_Backspace, Qt::NoModifier,
                        add ? QStringLiteral("a") : QString());
        QCoreApplication::sendEvent(&edit, &press);
        onScreen.repaint();
        add = !add;
    }
}

// The label field grows with its text; the inspector scrolls it.
void BM_LabelFieldKeystrokeInAMegabyteLine(benchmark::State& state) {
    ensureApplication();
    qsizetype written = 0;
    QScrollArea inspector;
    inspector.setWidgetResizable(true);
    auto* field = new GrowingTextField([&](const QString& text) { written = text.size(); });
    inspector.setWidget(field);
    inspector.resize(420, 700);
    field->setText(megabyteLine());
    inspector.show();
    typeAtTheEnd(state, *field, *inspector.viewport());
    if (written < 1024 * 1024) state.SkipWithError("the field did not report its text");
}
BENCHMARK(BM_LabelFieldKeystrokeInAMegabyteLine)->Unit(benchmark::kMillisecond);

void BM_ScriptEditorKeystrokeInAMegabyteLine(benchmark::State& state) {
    ensureApplication();
    qsizetype written = 0;
    ResizableTextEditor editor([&](const QString& text) { written = text.size(); });
    editor.resize(360, 96);
    editor.setText(megabyteLine());
    editor.show();
    typeAtTheEnd(state, *editor.editor(), *editor.editor()->viewport());
    if (written < 1024 * 1024) state.SkipWithError("the editor did not report its text");
}
BENCHMARK(BM_ScriptEditorKeystrokeInAMegabyteLine)->Unit(benchmark::kMillisecond);

} // namespace
