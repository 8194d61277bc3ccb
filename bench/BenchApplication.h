#pragma once

#include <QApplication>

namespace rondelix {

// The views need an application object; another benchmark may have made it
// already. It stays until the process ends: tearing Qt down at exit after
// the views have cached fonts and icons is nothing worth measuring.
inline void ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "rondelix_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
}

} // namespace rondelix
