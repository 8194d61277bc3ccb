// The project's own text window (programs/CaretWindow.cpp), run on the test's
// accessibility bus.

#pragma once

#include "AccessibilityBus.h"

namespace rondelix::e2e {

struct CaretWindow {
    // Answers its caret rectangle on the screen once it has the focus and the
    // bus has heard so.
    explicit CaretWindow(AccessibilityBus& bus, const QStringList& arguments = {}) {
        QProcessEnvironment environment = bus.environment();
        environment.insert("DISPLAY", qEnvironmentVariable("DISPLAY"));
        environment.insert("PATH", qEnvironmentVariable("PATH"));
        process.setProcessEnvironment(environment);
        process.start(RONDELIX_CARET_WINDOW, arguments);
        int x = 0, y = 0, w = 0, h = 0;
        if (!readLine() || std::sscanf(line.constData(), "caret %d %d %d %d", &x, &y, &w, &h) != 4) return;
        // The window's own request may have started the bus.
        if (!bus.found()) return;
        // A window that takes the keyboard before its link to the bus is up
        // never announces it: the focus moves off its field and back until
        // it does.
        const bool announced = waitFor(
            [&] {
                if (waitFor([&] { return bus.announcedFocusOf(process.processId()); }, 2)) return true;
                process.write("refocus\n");
                process.waitForBytesWritten(static_cast<int>(patience * 1000));
                return false;
            },
            patience);
        if (announced) caret = QRect(x, y, w, h);
    }
    ~CaretWindow() {
        process.kill();
        process.waitForFinished(2000);
    }

    // Waits until the window last said it has the keyboard, or that another
    // window has it: a summon's grab can take it away for a moment, too.
    bool hasKeyboard(bool has) {
        return waitFor(
            [&] {
                process.waitForReadyRead(20);
                while (process.canReadLine())
                    active_ = process.readLine().startsWith("active");
                return active_ == has;
            },
            patience);
    }

    QProcess process;
    // Null when the window did not take the focus.
    QRect caret;

  private:
    bool readLine() {
        const bool answered = waitFor(
            [&] {
                process.waitForReadyRead(20);
                return process.canReadLine();
            },
            patience);
        if (answered) line = process.readLine();
        return answered;
    }

    QByteArray line;
    bool active_ = true;
};

} // namespace rondelix::e2e
