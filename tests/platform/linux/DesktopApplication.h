#pragma once

#include "support/DisplayReady.h"

#include <QApplication>

namespace rondelix::testing {

// The one application object of a desktop test program, made by whichever
// test needs it first, on the X server the test script started.
inline QApplication* desktopApplication() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return existing;
    if (QCoreApplication::instance()) return nullptr;
    qputenv("QT_QPA_PLATFORM", "xcb");
    const DisplayReady display;
    if (!display) return nullptr;
    static int argc = 1;
    static char name[] = "rondelix_linux_tests";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
}

} // namespace rondelix::testing
