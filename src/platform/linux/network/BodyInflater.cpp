#include "platform/linux/network/BodyInflater.h"

#include "util/Ascii.h"

#include <array>
#include <string>
#include <zlib.h>

namespace rondelix::platform::linux_desktop {

struct BodyInflater::Stream {
    z_stream z{};
};

BodyInflater::Coding BodyInflater::codingOf(std::string_view contentEncoding) {
    std::string coding;
    for (const char c : contentEncoding)
        if (!isAsciiSpace(c)) coding += asciiLower(c);
    if (coding.empty() || coding == "identity") return Coding::asSent;
    if (coding == "gzip" || coding == "x-gzip" || coding == "deflate") return Coding::inflated;
    return Coding::unreadable;
}

BodyInflater::BodyInflater() : stream_(std::make_unique<Stream>()) {
    // A gzip or a zlib header, whichever the stream starts with.
    if (inflateInit2(&stream_->z, 15 + 32) != Z_OK) stream_.reset();
}

BodyInflater::~BodyInflater() {
    if (stream_) inflateEnd(&stream_->z);
}

BodyInflater::Outcome BodyInflater::inflate(std::string_view compressed,
                                            const std::function<bool(std::string_view piece)>& take) {
    if (!stream_) return Outcome::damaged;
    if (ended_) return Outcome::more;
    z_stream& z = stream_->z;
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    z.avail_in = static_cast<uInt>(compressed.size());
    std::array<char, pieceBytes> piece;
    // A full piece may leave more to come from the same input.
    do {
        z.next_out = reinterpret_cast<Bytef*>(piece.data());
        z.avail_out = static_cast<uInt>(piece.size());
        const int status = ::inflate(&z, Z_NO_FLUSH);
        if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) return Outcome::damaged;
        const std::size_t made = piece.size() - z.avail_out;
        if (made > 0 && !take({piece.data(), made})) return Outcome::stopped;
        if (status == Z_STREAM_END) {
            ended_ = true;
            return Outcome::more;
        }
    } while (z.avail_out == 0);
    return Outcome::more;
}

} // namespace rondelix::platform::linux_desktop
