#pragma once

#include "settings/DiagnosticsReport.h"

#include <cstdint>
#include <string>

namespace rondelix {

class AppCoordinator;

// What only the desktop's views can tell about it.
struct DesktopFacts {
    std::string version;
    std::string systemName;
    bool darkAppearance = false;
    bool compositor = false;
};

// Reads the report's inputs from the running program. Only reads; every
// value that cannot be read takes the report's fallback. Main thread.
DiagnosticsInputs gatherDiagnostics(AppCoordinator& coordinator, const DesktopFacts& desktop,
                                    std::int64_t unixTime);

// The report of the running program, with the Shortcut details still to fill in.
std::string diagnosticsSnapshot(AppCoordinator& coordinator, const DesktopFacts& desktop,
                                std::int64_t unixTime);

} // namespace rondelix
