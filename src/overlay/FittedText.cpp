#include "overlay/FittedText.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace rondelix {

namespace {

using Lines = std::vector<std::string>;

constexpr std::string_view ellipsis = "\xE2\x80\xA6";

// The text's own lines: up to its first line break and after it, where
// further breaks read as spaces; one line without a break.
Lines ownLines(const std::string& text) {
    const auto lineBreak = text.find('\n');
    if (lineBreak == std::string::npos) return {text};
    std::string rest = text.substr(lineBreak + 1);
    std::replace(rest.begin(), rest.end(), '\n', ' ');
    if (rest.empty()) return {text.substr(0, lineBreak)};
    return {text.substr(0, lineBreak), rest};
}

// The line split in two at each of its spaces, in order.
std::vector<std::pair<std::string, std::string>> splits(const std::string& line) {
    std::vector<std::pair<std::string, std::string>> halves;
    for (std::size_t i = 1; i + 1 < line.size(); ++i)
        if (line[i] == ' ') halves.emplace_back(line.substr(0, i), line.substr(i + 1));
    return halves;
}

// The ways the text may be shown: its own two lines when it holds a line
// break; otherwise on one line, or split into two at any one of its spaces.
std::vector<Lines> wrappings(const std::string& text) {
    if (text.find('\n') != std::string::npos) return {ownLines(text)};
    std::vector<Lines> options{{text}};
    for (auto& [first, second] : splits(text))
        options.push_back({std::move(first), std::move(second)});
    return options;
}

// A text's own two lines with one of them split once more at a space.
std::vector<Lines> threeLineWrappings(const std::string& text) {
    const Lines own = ownLines(text);
    if (own.size() != 2) return {};
    std::vector<Lines> options;
    for (auto& [first, second] : splits(own[0]))
        options.push_back({std::move(first), std::move(second), own[1]});
    for (auto& [first, second] : splits(own[1]))
        options.push_back({own[0], std::move(first), std::move(second)});
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
    if (text.find('\n') != std::string::npos) {
        Lines own = ownLines(text);
        first = std::move(own.front());
        if (own.size() == 2) rest = std::move(own.back());
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

// The first of the options that fits, at the largest size that fits any:
// one line wins; of more, the most even split.
std::optional<FittedText> firstFit(const std::vector<Lines>& options, int pixelSize, int smallestPixelSize,
                                   const TextMeasure& measure, const TextRoom& room) {
    for (int size = pixelSize; size >= smallestPixelSize; --size) {
        const double lineHeight = measure.lineHeight(size);
        const Lines* best = nullptr;
        double bestWidest = std::numeric_limits<double>::infinity();
        for (const Lines& lines : options) {
            const std::vector<double> widths = widthsOf(lines, size, measure);
            if (!room.fits(widths, lineHeight)) continue;
            if (lines.size() == 1) return FittedText{lines, size, lineHeight};
            const double widest = *std::max_element(widths.begin(), widths.end());
            if (widest < bestWidest) {
                best = &lines;
                bestWidest = widest;
            }
        }
        if (best) return FittedText{*best, size, lineHeight};
    }
    return std::nullopt;
}

} // namespace

FittedText fitLines(const std::string& label, int pixelSize, int smallestPixelSize,
                    const TextMeasure& measure, const TextRoom& room) {
    std::string text = label;
    std::erase(text, '\r');
    smallestPixelSize = std::min(smallestPixelSize, pixelSize);
    if (text.empty()) return {{}, pixelSize, measure.lineHeight(pixelSize)};

    if (auto fitted = firstFit(wrappings(text), pixelSize, smallestPixelSize, measure, room)) return *fitted;
    if (auto fitted = firstFit(threeLineWrappings(text), pixelSize, smallestPixelSize, measure, room))
        return *fitted;

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
