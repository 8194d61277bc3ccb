#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks), the form
// icon files take inside exported configurations and shared wheels.
namespace rondelix::Base64 {

std::string encode(std::string_view bytes);

// Strict: the length is a multiple of four, every character is of the
// alphabet, and "=" appears only as the one or two last characters. Anything
// else, a line break included, gives nothing.
std::optional<std::string> decode(std::string_view text);

// The length of the text that encodes this many bytes.
constexpr std::size_t encodedLength(std::size_t bytes) {
    return (bytes + 2) / 3 * 4;
}

} // namespace rondelix::Base64
