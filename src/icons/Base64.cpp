#include "icons/Base64.h"

#include <array>
#include <cstdint>

namespace rondelix::Base64 {

namespace {

constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t invalid = 0xFF;

constexpr std::array<std::uint8_t, 256> decodingTable() {
    std::array<std::uint8_t, 256> table{};
    table.fill(invalid);
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<std::uint8_t>(i);
    return table;
}

constexpr auto sextets = decodingTable();

// Asked once a turn: a group is four characters of the text.
bool givenUpAt(std::size_t group, GiveUp* giveUp) {
    return giveUp && group % (GiveUp::bytesPerTurn / 4) == 0 && (*giveUp)();
}

} // namespace

std::string encode(std::string_view bytes, GiveUp* giveUp) {
    std::string out;
    out.reserve(encodedLength(bytes.size()));
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        if (givenUpAt(i / 3, giveUp)) return out;
        const std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16 |
                                    static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1]))
                                        << 8 |
                                    static_cast<unsigned char>(bytes[i + 2]);
        out += alphabet[group >> 18 & 63];
        out += alphabet[group >> 12 & 63];
        out += alphabet[group >> 6 & 63];
        out += alphabet[group & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest == 0) return out;
    std::uint32_t group = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
    if (rest == 2) group |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    out += alphabet[group >> 18 & 63];
    out += alphabet[group >> 12 & 63];
    out += rest == 2 ? alphabet[group >> 6 & 63] : '=';
    out += '=';
    return out;
}

std::optional<std::string> decode(std::string_view text, GiveUp* giveUp) {
    if (text.size() % 4 != 0) return std::nullopt;
    std::size_t padding = 0;
    if (!text.empty() && text.back() == '=')
        padding = text.size() >= 2 && text[text.size() - 2] == '=' ? 2 : 1;

    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        if (givenUpAt(i / 4, giveUp)) return std::nullopt;
        const bool last = i + 4 == text.size();
        const std::size_t digits = last ? 4 - padding : 4;
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            std::uint8_t value = 0;
            if (k < digits) {
                value = sextets[static_cast<unsigned char>(text[i + k])];
                if (value == invalid) return std::nullopt;
            }
            group = group << 6 | value;
        }
        out += static_cast<char>(group >> 16 & 0xFF);
        if (digits > 2) out += static_cast<char>(group >> 8 & 0xFF);
        if (digits > 3) out += static_cast<char>(group & 0xFF);
    }
    return out;
}

} // namespace rondelix::Base64
