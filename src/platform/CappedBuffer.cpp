#include "platform/CappedBuffer.h"

namespace rondelix::platform {

void CappedBuffer::append(std::string_view chunk) {
    std::lock_guard guard(lock_);
    if (data_.size() >= cap_) return;
    data_.append(chunk.substr(0, cap_ - data_.size()));
}

std::string CappedBuffer::contents() const {
    std::lock_guard guard(lock_);
    return std::string(withoutCutUtf8Tail(data_));
}

std::string_view withoutCutUtf8Tail(std::string_view bytes) {
    // A sequence is at most four bytes long, so its lead byte is among the
    // last four; anything else about validity is the reader's business.
    const std::size_t size = bytes.size();
    for (std::size_t back = 1; back <= 4 && back <= size; ++back) {
        const auto byte = static_cast<unsigned char>(bytes[size - back]);
        if ((byte & 0xC0) == 0x80) continue; // a continuation byte: keep looking for the lead
        std::size_t length = 1;
        if ((byte & 0xE0) == 0xC0)
            length = 2;
        else if ((byte & 0xF0) == 0xE0)
            length = 3;
        else if ((byte & 0xF8) == 0xF0)
            length = 4;
        return length > back ? bytes.substr(0, size - back) : bytes;
    }
    return bytes;
}

} // namespace rondelix::platform
