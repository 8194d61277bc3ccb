#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <utility>

namespace rondelix::platform::linux_desktop {

// Where the pointer was when a key last went down, and when it first moved
// after that, in the X server's time: enough to tell where it was at a later
// moment, as long as it had not moved by then. A summon comes due a set time
// after its keys went down; a program too busy to look at the pointer until
// later still knows where it was, however it has moved since. Written by the
// reader thread, read by the main thread.
class X11PointerMark {
  public:
    void keyPressed(std::uint32_t serverTime, int rootX, int rootY);
    void moved(std::uint32_t serverTime);
    // Where the pointer was at that moment of the server's clock; none when
    // this cannot tell.
    std::optional<std::pair<int, int>> at(std::uint32_t serverTime) const;

  private:
    struct Mark {
        std::uint32_t time = 0;
        std::pair<int, int> where;
        std::optional<std::uint32_t> firstMove;
    };

    mutable std::mutex mutex_;
    std::optional<Mark> mark_;
};

} // namespace rondelix::platform::linux_desktop
