#pragma once

#include <functional>

namespace rondelix {

// What the binding rows need of the application shell, which owns it.
struct BindingsHost {
    // The stop action of the row that records right now, if any: a row that
    // starts recording stops it first, so only one row ever records.
    std::function<void()>& activeRecorderStop;
    // Whether the main window exists and is visible or minimized; a recording
    // outliving the window is stuck.
    std::function<bool()> isMainWindowOnScreen;
    // Opens the setup window of the named automations some system actions need.
    std::function<void()> showSystemActionSetup;
};

} // namespace rondelix
