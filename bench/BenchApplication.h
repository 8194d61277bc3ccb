#pragma once

#include <QApplication>

namespace rondelix::bench {

// The views need one application object for the whole run, whichever
// benchmark comes first. It stays until the process ends: tearing Qt down at
// exit after the views have cached fonts and icons is nothing worth measuring.
inline void ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "rondelix_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
}

} // namespace rondelix::bench
