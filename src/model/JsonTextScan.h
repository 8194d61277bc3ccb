#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

namespace rondelix::jsonscan {

// Looks at JSON text eight bytes at a time: a configuration file is mostly
// indentation and plain text, which both its reader and its writer pass over.
// A "mark" is the high bit of a byte in the eight.

inline std::uint64_t eightBytesAt(const char* at) {
    std::uint64_t bytes = 0;
    std::memcpy(&bytes, at, sizeof bytes);
    return bytes;
}

constexpr std::uint64_t everyByte(unsigned char value) {
    return 0x0101010101010101ull * value;
}

// Marks the bytes below `limit` (at most 0x80). Above the first such byte
// marks may be wrong; the lowest mark is always right.
constexpr std::uint64_t below(std::uint64_t bytes, unsigned char limit) {
    return (bytes - everyByte(limit)) & ~bytes & everyByte(0x80);
}

// How many of the eight bytes come before the first marked one.
constexpr int bytesBefore(std::uint64_t marks) {
    if constexpr (std::endian::native == std::endian::little) return std::countr_zero(marks) / 8;
    return std::countl_zero(marks) / 8;
}

// Marks exactly the bytes that are not spaces.
constexpr std::uint64_t notSpaces(std::uint64_t bytes) {
    const std::uint64_t differences = bytes ^ everyByte(' ');
    return (((differences & everyByte(0x7F)) + everyByte(0x7F)) | differences) & everyByte(0x80);
}

// Marks the bytes that a string cannot hold as they are (quotes, backslashes,
// control characters) and those that start or continue a multibyte character.
constexpr std::uint64_t notPlain(std::uint64_t bytes) {
    return below(bytes ^ everyByte('"'), 1) | below(bytes ^ everyByte('\\'), 1) | below(bytes, 0x20) |
           (bytes & everyByte(0x80));
}

} // namespace rondelix::jsonscan
