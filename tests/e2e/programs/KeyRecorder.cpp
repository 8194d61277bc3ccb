// A text field that tells, one line per event on standard output, every key
// event it receives with the modifiers it reads, and its text whenever that
// changes: the application a fired slice types into, in tests.
//
//   ready                 the field has the keyboard focus
//   press 0x76 ctrl       a key press: its keysym and the modifiers held
//   release 0xffe9 alt    a key release
//   text Hello            the field's whole text after a change
//   focus-out grab        the window lost the keyboard focus, here to a grab
//   focus-in ungrab       the window got it back, here as a grab ended

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>
#include <xcb/xcb.h>

namespace {

void say(const QString& line) {
    std::fputs(qPrintable(line + "\n"), stdout);
    std::fflush(stdout);
}

QString modifierWords(Qt::KeyboardModifiers modifiers) {
    QStringList words;
    if (modifiers & Qt::ControlModifier) words << "ctrl";
    if (modifiers & Qt::AltModifier) words << "alt";
    if (modifiers & Qt::ShiftModifier) words << "shift";
    if (modifiers & Qt::MetaModifier) words << "super";
    return words.isEmpty() ? "none" : words.join('+');
}

class RecordingField final : public QLineEdit {
  protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            say(QString("%1 0x%2 %3")
                    .arg(event->type() == QEvent::KeyPress ? "press" : "release")
                    .arg(key->nativeVirtualKey(), 0, 16)
                    .arg(modifierWords(key->modifiers())));
        }
        return QLineEdit::event(event);
    }
};

// Focus changes as the X server sends them: the toolkit folds a quick loss
// and return of the focus into nothing, which a grab of the keyboard is.
class FocusWatch final : public QAbstractNativeEventFilter {
  public:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") return false;
        const auto* event = static_cast<const xcb_focus_in_event_t*>(message);
        const int kind = event->response_type & 0x7f;
        if (kind != XCB_FOCUS_IN && kind != XCB_FOCUS_OUT) return false;
        // Focus events about the pointer's window, not the focus itself.
        if (event->detail == XCB_NOTIFY_DETAIL_POINTER) return false;
        static const char* const modes[] = {"normal", "grab", "ungrab", "while-grabbed"};
        say(QString("%1 %2")
                .arg(kind == XCB_FOCUS_IN ? "focus-in" : "focus-out")
                .arg(modes[event->mode & 3]));
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    FocusWatch focusWatch;
    app.installNativeEventFilter(&focusWatch);
    RecordingField field;
    field.setWindowTitle("Key recorder");
    field.resize(400, 40);
    QObject::connect(&field, &QLineEdit::textChanged, [](const QString& text) { say("text " + text); });
    field.show();
    field.activateWindow();
    field.setFocus();
    // Ready once the server has given the window the keyboard focus.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!field.hasFocus() || !field.isActiveWindow()) {
            field.activateWindow();
            return;
        }
        poll.stop();
        say("ready");
    });
    poll.start(20);
    return app.exec();
}
