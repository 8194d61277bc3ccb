#pragma once

#include <algorithm>
#include <string>
#include <vector>
#include <zlib.h>

namespace rondelix::testing {

// A gzip stream of zeros that inflates to `inflated` bytes, about a
// thousandth of that: what a website may send to fill a reader's memory.
inline std::string gzippedZeros(std::size_t inflated) {
    z_stream stream{};
    deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY);
    std::vector<unsigned char> zeros(1 << 20), out(1 << 16);
    std::string gzipped;
    const auto take = [&](int flush) {
        stream.next_out = out.data();
        stream.avail_out = static_cast<uInt>(out.size());
        const int status = deflate(&stream, flush);
        gzipped.append(reinterpret_cast<const char*>(out.data()), out.size() - stream.avail_out);
        return status;
    };
    for (std::size_t left = inflated; left > 0 || stream.avail_in > 0;) {
        if (stream.avail_in == 0) {
            const auto piece = std::min(left, zeros.size());
            stream.next_in = zeros.data();
            stream.avail_in = static_cast<uInt>(piece);
            left -= piece;
        }
        take(Z_NO_FLUSH);
    }
    while (take(Z_FINISH) != Z_STREAM_END) {
    }
    deflateEnd(&stream);
    return gzipped;
}

} // namespace rondelix::testing
