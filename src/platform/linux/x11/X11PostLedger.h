#pragma once

#include <deque>
#include <mutex>

namespace rondelix::platform::linux_desktop {

// X11 events carry no user data, so the events the program posts are noted
// here and their echoes claimed when they come back from the XTEST device.
// Each posted key comes back once as a raw event, and once more through our
// grab while the intercepting tap holds one. Safe to use from two threads.
class X11PostLedger {
  public:
    enum class Channel { raw, grabbed };

    // Seconds an unclaimed note waits for its echo; an echo the server drops
    // (a release of a key that is not down) must not linger and mark a
    // later event from another XTEST client as ours.
    static constexpr double lifetime = 2.0;

    void note(int xKeyCode, bool press, double now, bool expectGrabbedEcho);

    // Whether this event from the XTEST device is one we posted; a claimed
    // note is used up.
    bool claim(Channel channel, int xKeyCode, bool press, double now);

  private:
    struct Entry {
        int xKeyCode;
        bool press;
        double expires;
    };

    static bool take(std::deque<Entry>& entries, int xKeyCode, bool press, double now);

    std::mutex mutex_;
    std::deque<Entry> raw_;
    std::deque<Entry> grabbed_;
};

} // namespace rondelix::platform::linux_desktop
