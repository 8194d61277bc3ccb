#include "platform/linux/x11/X11Display.h"

#include <X11/Xlib.h>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <set>

namespace rondelix::platform::linux_desktop::X11Display {

namespace {

// Xlib's error handlers are process-wide; ours act on our own connections
// and hand every other display to the handler that was there before.
std::mutex registryMutex;
std::set<Display*> ours;
std::set<Display*> broken;
XErrorHandler previousError = nullptr;
XIOErrorHandler previousIOError = nullptr;

bool isOurs(Display* display) {
    std::lock_guard lock(registryMutex);
    return ours.contains(display);
}

int onError(Display* display, XErrorEvent* error) {
    if (isOurs(display) || !previousError) return 0;
    return previousError(display, error);
}

int onIOError(Display* display) {
    if (isOurs(display) || !previousIOError) return 0;
    return previousIOError(display);
}

void onIOErrorExit(Display* display, void* lost) {
    {
        std::lock_guard lock(registryMutex);
        broken.insert(display);
    }
    static_cast<std::atomic<bool>*>(lost)->store(true);
}

void installHandlers() {
    static std::once_flag once;
    std::call_once(once, [] {
        previousError = XSetErrorHandler(onError);
        previousIOError = XSetIOErrorHandler(onIOError);
    });
}

} // namespace

Display* open(const std::string& name, std::atomic<bool>* lost) {
    installHandlers();
    Display* display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
    if (!display) return nullptr;
    {
        std::lock_guard lock(registryMutex);
        ours.insert(display);
    }
    XSetIOErrorExitHandler(display, onIOErrorExit, lost);
    return display;
}

void close(Display* display, bool lost) {
    if (!display) return;
    {
        std::lock_guard lock(registryMutex);
        // A lost display stays registered: Xlib may still report on it, and
        // must not talk over the broken socket.
        if (lost || broken.contains(display)) return;
    }
    // Still ours while closing, should the connection break right now.
    XCloseDisplay(display);
    std::lock_guard lock(registryMutex);
    ours.erase(display);
    broken.erase(display);
}

bool answers(const std::string& name) {
    Display* display = XOpenDisplay(name.c_str());
    if (!display) return false;
    XCloseDisplay(display);
    return true;
}

std::string whyUnreachable(const std::string& name) {
    const char* env = std::getenv("DISPLAY");
    const std::string shown = name.empty() ? (env ? env : "") : name;
    if (shown.empty()) {
        if (std::getenv("WAYLAND_DISPLAY"))
            return "no X11 display in this Wayland session (DISPLAY is unset), so global input is out of "
                   "reach.";
        return "no X11 display (DISPLAY is unset), so global input is out of reach.";
    }
    return "cannot connect to the X11 display " + shown + ", so global input is out of reach.";
}

double monotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace rondelix::platform::linux_desktop::X11Display
