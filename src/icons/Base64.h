#pragma once

#include "util/GiveUp.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Standard Base64 (RFC 4648 alphabet, "=" padding, no line breaks), the form
// icon files take inside exported configurations and shared wheels.
namespace rondelix::Base64 {

// A give-up, when given, is asked every so many bytes (see GiveUp); once it
// says yes, encoding stops short and decoding gives nothing.
std::string encode(std::string_view bytes, GiveUp* giveUp = nullptr);

// Strict: the length is a multiple of four, every character is of the
// alphabet, and "=" appears only as the one or two last characters. Anything
// else, a line break included, gives nothing.
std::optional<std::string> decode(std::string_view text, GiveUp* giveUp = nullptr);

// The length of the text that encodes this many bytes.
constexpr std::size_t encodedLength(std::size_t bytes) {
    return (bytes + 2) / 3 * 4;
}

} // namespace rondelix::Base64
