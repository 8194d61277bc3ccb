#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

namespace rondelix::platform::linux_desktop {

// A response body sent compressed (gzip or zlib deflate), inflated as its
// bytes arrive, a piece of bounded size at a time: whoever takes the pieces
// can stop the inflating the moment it has enough, however far a small body
// would inflate.
class BodyInflater {
  public:
    static constexpr std::size_t pieceBytes = 16 * 1024;

    // How a body sent with that Content-Encoding is read.
    enum class Coding { asSent, inflated, unreadable };
    static Coding codingOf(std::string_view contentEncoding);

    enum class Outcome { more, stopped, damaged };

    BodyInflater();
    ~BodyInflater();
    BodyInflater(const BodyInflater&) = delete;
    BodyInflater& operator=(const BodyInflater&) = delete;

    // Inflates the next bytes of the body, handing each piece to `take`:
    // stopped as soon as it answers false, damaged when the bytes are no
    // compressed stream. Bytes after the stream's end are passed over.
    Outcome inflate(std::string_view compressed, const std::function<bool(std::string_view piece)>& take);

    // Whether the compressed stream has ended whole.
    bool ended() const { return ended_; }

  private:
    struct Stream;

    std::unique_ptr<Stream> stream_;
    bool ended_ = false;
};

} // namespace rondelix::platform::linux_desktop
