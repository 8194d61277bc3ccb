#pragma once

#include <functional>
#include <string>
#include <vector>

namespace rondelix {

// How a view measures text in the font it draws a label with, at a pixel size.
struct TextMeasure {
    std::function<double(const std::string& text, int pixelSize)> width;
    std::function<double(int pixelSize)> lineHeight;
    // The text cut at its end so that it is at most maxWidth wide, with "…"
    // in place of what was cut.
    std::function<std::string(const std::string& text, int pixelSize, double maxWidth)> elide;
};

// Short text laid out in a few lines.
struct FittedText {
    std::vector<std::string> lines;
    int pixelSize = 0;
    double lineHeight = 0;

    double height() const { return lineHeight * static_cast<double>(lines.size()); }
};

// The room a piece of text is laid out in.
struct TextRoom {
    // Whether lines this wide, at this line height, fit.
    std::function<bool(const std::vector<double>& widths, double lineHeight)> fits;
    // How wide each of `lines` lines may be at this line height.
    std::function<std::vector<double>(int lines, double lineHeight)> widths;
};

// Lays the text out in the room: on one line or wrapped at a space into two
// (a line break in the text makes the two lines), at the largest pixel size
// from `pixelSize` down to `smallestPixelSize` that fits. A text whose own
// two lines fit at no size wraps one of them once more at a space, into
// three lines at the largest size that fits. When nothing fits, it is laid
// out at the smallest size with what does not fit cut short with "…",
// whichever of one or two lines shows more of the text.
FittedText fitLines(const std::string& text, int pixelSize, int smallestPixelSize, const TextMeasure& measure,
                    const TextRoom& room);

} // namespace rondelix
