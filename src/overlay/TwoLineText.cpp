#include "overlay/TwoLineText.h"

#include <algorithm>
#include <limits>

namespace rondelix {

namespace {

using Lines = std::vector<std::string>;

constexpr std::string_view ellipsis = "\xE2\x80\xA6";

// The ways the text may be shown: its own two lines when it holds a line
// break; otherwise on one line, or split into two at any one of its spaces.
std::vector<Lines> wrappings(const std::string& text) {
    if (const auto lineBreak = text.find('\n'); lineBreak != std::string::npos) {
        std::string rest = text.substr(lineBreak + 1);
        std::replace(rest.begin(), rest.end(), '\n', ' ');
        if (rest.empty()) return {{text.substr(0, lineBreak)}};
        return {{text.substr(0, lineBreak), rest}};
    }
    std::vector<Lines> options{{text}};
    for (std::size_t i = 1; i + 1 < text.size(); ++i)
        if (text[i] == ' ') options.push_back({text.substr(0, i), text.substr(i + 1)});
    return options;
}

std::size_t shownCharacters(const Lines& lines) {
    std::size_t count = 0;
    for (const std::string& line : lines) {
        for (const char c : line)
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
        if (line.ends_with(ellipsis)) --count;
    }
    return count;
}

std::vector<double> widthsOf(const Lines& lines, int pixelSize, const TextMeasure& measure) {
    std::vector<double> widths;
    for (const std::string& line : lines)
        widths.push_back(measure.width(line, pixelSize));
    return widths;
}

// Two lines cut to their room: the text's own lines, or as many words as fit
// on the first and the rest on the second.
Lines elidedTwoLines(const std::string& text, int pixelSize, const std::vector<double>& room,
                     const TextMeasure& measure) {
    std::string first, rest;
    if (const auto lineBreak = text.find('\n'); lineBreak != std::string::npos) {
        first = text.substr(0, lineBreak);
        rest = text.substr(lineBreak + 1);
        std::replace(rest.begin(), rest.end(), '\n', ' ');
    } else {
        std::size_t cut = text.find(' ');
        if (cut == std::string::npos) return {};
        for (std::size_t next = cut; next != std::string::npos; next = text.find(' ', next + 1)) {
            if (measure.width(text.substr(0, next), pixelSize) > room[0]) break;
            cut = next;
        }
        first = text.substr(0, cut);
        rest = text.substr(cut + 1);
    }
    Lines lines{measure.elide(first, pixelSize, room[0])};
    if (!rest.empty()) lines.push_back(measure.elide(rest, pixelSize, room[1]));
    return lines;
}

} // namespace

TwoLineText fitTwoLines(const std::string& label, int pixelSize, int smallestPixelSize,
                        const TextMeasure& measure, const TextRoom& room) {
    std::string text = label;
    std::erase(text, '\r');
    smallestPixelSize = std::min(smallestPixelSize, pixelSize);
    if (text.empty()) return {{}, pixelSize, measure.lineHeight(pixelSize)};

    const std::vector<Lines> options = wrappings(text);
    for (int size = pixelSize; size >= smallestPixelSize; --size) {
        const double lineHeight = measure.lineHeight(size);
        const Lines* best = nullptr;
        double bestWidest = std::numeric_limits<double>::infinity();
        for (const Lines& lines : options) {
            const std::vector<double> widths = widthsOf(lines, size, measure);
            if (!room.fits(widths, lineHeight)) continue;
            // One line wins; of two, the most even split.
            if (lines.size() == 1) return {lines, size, lineHeight};
            const double widest = *std::max_element(widths.begin(), widths.end());
            if (widest < bestWidest) {
                best = &lines;
                bestWidest = widest;
            }
        }
        if (best) return {*best, size, lineHeight};
    }

    const int size = smallestPixelSize;
    const double lineHeight = measure.lineHeight(size);
    std::string joined = text;
    std::replace(joined.begin(), joined.end(), '\n', ' ');
    const Lines oneLine{measure.elide(joined, size, room.widths(1, lineHeight).front())};
    const Lines twoLines = elidedTwoLines(text, size, room.widths(2, lineHeight), measure);
    const bool twoShowMore = shownCharacters(twoLines) > shownCharacters(oneLine);
    return {twoShowMore ? twoLines : oneLine, size, lineHeight};
}

} // namespace rondelix
