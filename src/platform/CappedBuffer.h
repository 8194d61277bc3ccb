#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>

namespace rondelix::platform {

// The first bytes of a child's error output, shared between the thread that
// drains the pipe and the one that reaps the child. Whatever the child writes,
// the buffer never grows past its cap.
class CappedBuffer {
  public:
    explicit CappedBuffer(std::size_t cap) : cap_(cap) {}

    // Keeps as much of the chunk as still fits and drops the rest.
    void append(std::string_view chunk);

    // The kept bytes, without a UTF-8 sequence that the cap cut in two.
    std::string contents() const;

  private:
    mutable std::mutex lock_;
    std::string data_;
    std::size_t cap_;
};

// The text without a trailing UTF-8 sequence that ends before its last byte.
std::string_view withoutCutUtf8Tail(std::string_view bytes);

} // namespace rondelix::platform
