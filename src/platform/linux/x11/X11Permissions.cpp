#include "platform/linux/x11/X11Permissions.h"

#include "platform/linux/x11/X11Display.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>

namespace rondelix::platform::linux_desktop {

namespace {

// Empty when global input is reachable, else why not.
std::string probe(const std::string& name) {
    std::atomic<bool> lost{false};
    Display* display = X11Display::open(name, &lost);
    if (!display) return X11Display::whyUnreachable(name);
    std::string why;
    int opcode = 0, event = 0, error = 0, major = 2, minor = 1;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error) ||
        XIQueryVersion(display, &major, &minor) != Success || major < 2 || (major == 2 && minor < 1))
        why = "the X server lacks XInput 2.1, so global input is out of reach.";
    else if (!XTestQueryExtension(display, &event, &error, &major, &minor))
        why = "the X server lacks XTEST, so the program cannot post keys.";
    if (lost) why = "the X connection broke while checking for global input.";
    X11Display::close(display, lost);
    return why;
}

} // namespace

X11Permissions::X11Permissions(Log& log, std::string displayName)
    : log_(log), displayName_(std::move(displayName)) {}

bool X11Permissions::reachable() {
    const auto now = std::chrono::steady_clock::now();
    if (everAsked_ && now - lastProbe_ < std::chrono::milliseconds(250)) return lastWhy_.empty();
    lastProbe_ = now;
    const std::string why = probe(displayName_);
    if (why != lastWhy_ || !everAsked_) {
        if (!why.empty())
            log_.write("global input denied: " + why);
        else if (everAsked_)
            log_.write("global input is reachable again.");
    }
    everAsked_ = true;
    lastWhy_ = why;
    return why.empty();
}

void X11Permissions::noSettingsPage() {
    log_.write("X11 grants global input to every program; there is no settings page to open.");
}

void X11Permissions::openInputMonitoringSettings() {
    noSettingsPage();
}

void X11Permissions::openAccessibilitySettings() {
    noSettingsPage();
}

} // namespace rondelix::platform::linux_desktop
