#include "util/Utf8.h"

#include <cstdint>

namespace rondelix::utf8 {

namespace {

bool inRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

} // namespace

char32_t decodeNext(std::string_view bytes, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(bytes[pos++]);
    if (lead < 0x80) return lead;

    int continuations = 0;
    char32_t scalar = 0;
    // The second byte has a narrower range after some lead bytes: that is
    // what rules out overlong forms, surrogates and scalars past U+10FFFF.
    unsigned char secondLow = 0x80;
    unsigned char secondHigh = 0xBF;
    if (inRange(lead, 0xC2, 0xDF)) {
        continuations = 1;
        scalar = lead & 0x1F;
    } else if (inRange(lead, 0xE0, 0xEF)) {
        continuations = 2;
        scalar = lead & 0x0F;
        if (lead == 0xE0) secondLow = 0xA0;
        if (lead == 0xED) secondHigh = 0x9F;
    } else if (inRange(lead, 0xF0, 0xF4)) {
        continuations = 3;
        scalar = lead & 0x07;
        if (lead == 0xF0) secondLow = 0x90;
        if (lead == 0xF4) secondHigh = 0x8F;
    } else {
        return replacementCharacter;
    }

    for (int i = 0; i < continuations; ++i) {
        if (pos >= bytes.size()) return replacementCharacter;
        const auto byte = static_cast<unsigned char>(bytes[pos]);
        const bool fits = i == 0 ? inRange(byte, secondLow, secondHigh) : inRange(byte, 0x80, 0xBF);
        // The offending byte is not consumed: it may start the next scalar.
        if (!fits) return replacementCharacter;
        scalar = (scalar << 6) | (byte & 0x3F);
        ++pos;
    }
    return scalar;
}

std::size_t wellFormedLength(std::string_view bytes, std::size_t pos) {
    const std::size_t start = pos;
    if (decodeNext(bytes, pos) == replacementCharacter && bytes.substr(start, pos - start) != "\xEF\xBF\xBD")
        return 0;
    return pos - start;
}

std::u32string decode(std::string_view bytes) {
    std::u32string scalars;
    scalars.reserve(bytes.size());
    std::size_t pos = 0;
    while (pos < bytes.size())
        scalars.push_back(decodeNext(bytes, pos));
    return scalars;
}

void append(std::string& out, char32_t scalar) {
    if (scalar > 0x10FFFF || (scalar >= 0xD800 && scalar <= 0xDFFF)) scalar = replacementCharacter;
    const auto value = static_cast<std::uint32_t>(scalar);
    if (value < 0x80) {
        out.push_back(static_cast<char>(value));
    } else if (value < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (value >> 6)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else if (value < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (value >> 12)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (value >> 18)));
        out.push_back(static_cast<char>(0x80 | ((value >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((value >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (value & 0x3F)));
    }
}

std::string encode(std::u32string_view scalars) {
    std::string out;
    out.reserve(scalars.size());
    for (char32_t scalar : scalars)
        append(out, scalar);
    return out;
}

bool repair(std::string& text) {
    // Most text is well formed; it is only read, never copied.
    std::size_t firstBad = 0;
    while (firstBad < text.size()) {
        const std::size_t length = wellFormedLength(text, firstBad);
        if (length == 0) break;
        firstBad += length;
    }
    if (firstBad == text.size()) return false;
    std::string repaired = text.substr(0, firstBad);
    std::size_t pos = firstBad;
    while (pos < text.size())
        append(repaired, decodeNext(text, pos));
    text = std::move(repaired);
    return true;
}

} // namespace rondelix::utf8
