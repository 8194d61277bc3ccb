#include "icons/DrawnPng.h"

#include <gtest/gtest.h>
#include <string>

using rondelix::isDrawnPng;

namespace {

const std::string signature("\x89PNG\r\n\x1A\n", 8);

std::string bigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

// A chunk with a checksum of zeros: the check reads none.
std::string chunk(const std::string& type, const std::string& data) {
    return bigEndian(static_cast<std::uint32_t>(data.size())) + type + data + std::string(4, '\0');
}

std::string header(std::uint32_t width, std::uint32_t height, char depth = 8, char colourType = 6,
                   char interlace = 0) {
    return chunk("IHDR",
                 bigEndian(width) + bigEndian(height) + std::string{depth, colourType, 0, 0, interlace});
}

const std::string density = chunk("pHYs", std::string(9, '\x01'));
const std::string pixels = chunk("IDAT", "compressed rows");
const std::string end = chunk("IEND", "");

} // namespace

TEST(DrawnPng, AcceptsOnlyTheChunksAndSidesTheDrawerWrites) {
    const struct {
        const char* what;
        std::string bytes;
        bool drawn;
    } cases[] = {
        {"as the drawer writes it", signature + header(64, 64) + density + pixels + end, true},
        {"the largest side, pixel data in several chunks", signature + header(256, 1) + pixels + pixels + end,
         true},
        {"a palette with its transparency",
         signature + header(16, 16, 8, 3) + chunk("PLTE", std::string(6, 'p')) + chunk("tRNS", "t") + pixels +
             end,
         true},
        {"interlaced 16-bit grey", signature + header(8, 8, 16, 0, 1) + pixels + end, true},
        {"a compressed text", signature + header(64, 64) + chunk("zTXt", "k\0\0x") + pixels + end, false},
        {"a plain text", signature + header(64, 64) + chunk("tEXt", "k\0v") + pixels + end, false},
        {"a colour profile", signature + header(64, 64) + chunk("iCCP", "p\0\0x") + pixels + end, false},
        {"an animation control", signature + header(64, 64) + chunk("acTL", std::string(8, 0)) + pixels + end,
         false},
        {"a side too long", signature + header(257, 16) + pixels + end, false},
        {"a side of none", signature + header(0, 16) + pixels + end, false},
        {"a bit depth no colour type has", signature + header(16, 16, 16, 3) + pixels + end, false},
        {"a header too long", signature + chunk("IHDR", std::string(14, 1)) + pixels + end, false},
        {"no header first", signature + density + header(64, 64) + pixels + end, false},
        {"no pixel data", signature + header(64, 64) + end, false},
        {"a chunk between the pixel data", signature + header(64, 64) + pixels + density + pixels + end,
         false},
        {"two palettes",
         signature + header(16, 16, 8, 3) + chunk("PLTE", "abc") + chunk("PLTE", "abc") + pixels + end,
         false},
        {"a palette of broken entries", signature + header(16, 16, 8, 3) + chunk("PLTE", "ab") + pixels + end,
         false},
        {"a density of the wrong length", signature + header(64, 64) + chunk("pHYs", "x") + pixels + end,
         false},
        {"bytes after the end", signature + header(64, 64) + pixels + end + "x", false},
        {"no end", signature + header(64, 64) + pixels, false},
        {"a chunk longer than the file", signature + header(64, 64) + bigEndian(0xFFFFFFFF) + "IDATxxxx",
         false},
        {"a chunk cut short", (signature + header(64, 64) + pixels + end).substr(0, 60), false},
        {"no signature", header(64, 64) + pixels + end, false},
        {"nothing", "", false},
    };
    for (const auto& test : cases)
        EXPECT_EQ(isDrawnPng(test.bytes, 256), test.drawn) << test.what;
}
