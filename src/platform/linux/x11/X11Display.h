#pragma once

#include <atomic>
#include <string>

struct _XDisplay;

namespace rondelix::platform::linux_desktop::X11Display {

// Opens a connection to the named X display (the environment's when empty)
// whose loss the program survives: Xlib's default would end the process, so
// a broken connection only raises `lost` and later calls on it do nothing.
// Protocol errors on it are swallowed; callers check what they asked for.
// Answers nullptr when no display can be reached.
_XDisplay* open(const std::string& name, std::atomic<bool>* lost);

// Closes a connection from open(). One that was lost (or shares a server
// with one that was) is left alone, since Xlib must not talk over a broken
// socket; its few bytes stay allocated.
void close(_XDisplay* display, bool lost);

// Whether the named X display answers a connection, which is closed again.
bool answers(const std::string& name);

// Why no display could be reached, as one sentence for the log.
std::string whyUnreachable(const std::string& name);

// Seconds on a monotonic clock, shared by the X threads.
double monotonicSeconds();

} // namespace rondelix::platform::linux_desktop::X11Display
