// A text field with its caret at a known place, published on the
// accessibility bus the way every Qt program publishes it when the desktop's
// accessibility is on: the focused text field a summon at the caret looks for.
//
//   caret 412 236 1 17    once focused: the caret's rectangle on the screen,
//                         x y width height, top-left origin
//   inactive              after that, each time another window takes the
//   active                keyboard, and each time it gets it back
//
// With the argument "end" the caret stands after the last character. Each
// line on its standard input moves the focus off the field and back, so that
// the field announces once more that it has the focus.

#include <QApplication>
#include <QLineEdit>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    // The toolkit publishes to the accessibility bus only when asked to.
    qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    QApplication app(argc, argv);
    // A blinking caret would change the screen the test compares.
    QApplication::setCursorFlashTime(0);
    QLineEdit field;
    field.setWindowTitle("Caret window");
    field.setText("The caret stands here| and the text goes on");
    field.setGeometry(300, 200, 520, 40);
    field.show();
    field.activateWindow();
    field.setFocus();
    // Short, so that its end lies far from the field's middle.
    const bool atEnd = app.arguments().contains("end");
    if (atEnd) field.setText("At the end");
    field.setCursorPosition(atEnd ? int(field.text().size()) : int(field.text().indexOf('|')));

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!field.hasFocus() || !field.isActiveWindow()) {
            field.activateWindow();
            return;
        }
        poll.stop();
        const QRect local = field.inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QPoint origin = field.mapToGlobal(local.topLeft());
        std::printf("caret %d %d %d %d\n", origin.x(), origin.y(), local.width(), local.height());
        std::fflush(stdout);
    });
    poll.start(20);

    QObject::connect(&app, &QGuiApplication::applicationStateChanged, [&](Qt::ApplicationState state) {
        if (poll.isActive()) return;
        std::printf(state == Qt::ApplicationActive ? "active\n" : "inactive\n");
        std::fflush(stdout);
    });
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64];
        if (::read(STDIN_FILENO, line, sizeof line) <= 0) {
            input.setEnabled(false);
            return;
        }
        field.clearFocus();
        field.setFocus();
    });
    return app.exec();
}
