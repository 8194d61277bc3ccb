#include "icons/DrawnPng.h"

#include <cstddef>

namespace rondelix {

namespace {

constexpr std::string_view signature{"\x89PNG\r\n\x1A\n", 8};
// Length, type, then the checksum after the data.
constexpr std::size_t chunkFraming = 12;
constexpr std::uint32_t headerLength = 13;
constexpr std::uint32_t densityLength = 9;
constexpr std::uint32_t largestPalette = 3 * 256;
constexpr std::uint32_t largestTransparency = 256;

std::uint32_t bigEndian(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = at; i < at + 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

// The bit depths each colour type allows.
bool isPixelFormat(unsigned depth, unsigned colourType) {
    switch (colourType) {
    case 0:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6:
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

bool isHeader(std::string_view data, std::uint32_t largestSide) {
    if (data.size() != headerLength) return false;
    const std::uint32_t width = bigEndian(data, 0), height = bigEndian(data, 4);
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(data[at]); };
    return width >= 1 && height >= 1 && width <= largestSide && height <= largestSide &&
           isPixelFormat(byte(8), byte(9)) && byte(10) == 0 && byte(11) == 0 && byte(12) <= 1;
}

} // namespace

bool isDrawnPng(std::string_view bytes, std::uint32_t largestSide) {
    if (!bytes.starts_with(signature)) return false;
    std::size_t at = signature.size();
    bool headed = false, sawPalette = false, sawData = false;
    while (bytes.size() - at >= chunkFraming) {
        const std::uint32_t length = bigEndian(bytes, at);
        if (length > bytes.size() - at - chunkFraming) return false;
        const std::string_view type = bytes.substr(at + 4, 4);
        const std::string_view data = bytes.substr(at + 8, length);
        at += chunkFraming + length;
        if (!headed) {
            if (type != "IHDR" || !isHeader(data, largestSide)) return false;
            headed = true;
            continue;
        }
        if (type == "IEND") return length == 0 && sawData && at == bytes.size();
        if (type == "IDAT") {
            sawData = true;
            continue;
        }
        // The pixel data is one run of chunks, and the end follows it.
        if (sawData) return false;
        if (type == "PLTE") {
            if (sawPalette || length == 0 || length % 3 != 0 || length > largestPalette) return false;
            sawPalette = true;
        } else if (type == "tRNS") {
            if (length > largestTransparency) return false;
        } else if (type != "pHYs" || length != densityLength) {
            return false;
        }
    }
    return false;
}

} // namespace rondelix
