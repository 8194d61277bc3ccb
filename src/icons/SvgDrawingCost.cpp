#include "icons/SvgDrawingCost.h"

#include "util/Ascii.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

namespace rondelix {

namespace {

constexpr double pi = std::numbers::pi;

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == ',';
}

// Numbers as path data and point lists write them, one after another, what
// lies between them read on the turns of the give-up. A number written
// longer than any drawing needs is not read: the measuring is unsure.
class Numbers {
  public:
    Numbers(std::string_view text, SvgDrawingCost::Reading& reading) : text_(text), reading_(reading) {}

    void skipSeparators() { pos_ = reading_.giveUp.skip(text_, pos_, isSeparator); }
    bool atEnd() {
        skipSeparators();
        return pos_ >= text_.size();
    }
    char peek() const { return text_[pos_]; }
    char take() { return text_[pos_++]; }

    std::optional<double> number() {
        skipSeparators();
        const auto written = numberEnd();
        if (written - pos_ > SvgDrawingCost::maxNumberLength) reading_.unsure = true;
        if (reading_.unsure || reading_.giveUp.given()) return std::nullopt;
        auto first = text_.data() + pos_;
        const auto last = text_.data() + written;
        if (first != last && *first == '+') ++first;
        double value = 0;
        const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
        if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
        pos_ = static_cast<std::size_t>(end - text_.data());
        return value;
    }
    // A length's unit, right after its number.
    void skipUnit() {
        pos_ = reading_.giveUp.skip(text_, pos_, [](char c) { return isAsciiLetter(c) || c == '%'; });
    }
    // An arc's flag, which may touch what follows it ("a1 1 0 01 5 5").
    std::optional<double> flag() {
        skipSeparators();
        if (pos_ >= text_.size() || (text_[pos_] != '0' && text_[pos_] != '1')) return std::nullopt;
        return text_[pos_++] - '0';
    }

  private:
    // Where the number written from here ends: a sign, digits, a point and
    // digits, an exponent. Read no further than a number may be long, so no
    // give-up is needed.
    std::size_t numberEnd() const {
        const auto limit = std::min(text_.size(), pos_ + SvgDrawingCost::maxNumberLength + 1);
        const auto isAt = [&](std::size_t at, std::string_view characters) {
            return at < limit && characters.find(text_[at]) != std::string_view::npos;
        };
        const auto digitsFrom = [&](std::size_t at) {
            while (at < limit && isAsciiDigit(text_[at]))
                ++at;
            return at;
        };
        auto at = digitsFrom(isAt(pos_, "+-") ? pos_ + 1 : pos_);
        if (isAt(at, ".")) at = digitsFrom(at + 1);
        if (!isAt(at, "eE")) return at;
        const auto exponent = isAt(at + 1, "+-") ? at + 2 : at + 1;
        const auto end = digitsFrom(exponent);
        return end > exponent ? end : at;
    }

    std::string_view text_;
    SvgDrawingCost::Reading& reading_;
    std::size_t pos_ = 0;
};

struct Outline {
    double length = 0;
    std::size_t segments = 0;
};

struct Point {
    double x = 0;
    double y = 0;
};

double distance(Point a, Point b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

// Segments and a length no shorter than the path's: curves count their
// control polygons, an arc a half turn over its chord and a whole turn of its
// larger radius. Reading ends where the data goes wrong, as a renderer's does.
Outline pathOutline(std::string_view data, SvgDrawingCost::Reading& reading) {
    static constexpr std::string_view commands = "MLHVCSQTAZ";
    static constexpr int operands[] = {2, 2, 1, 1, 6, 4, 4, 2, 7, 0};
    Numbers numbers(data, reading);
    Outline outline;
    Point at, start;
    char command = 0;
    while (!numbers.atEnd() && !reading.giveUp()) {
        if (isAsciiLetter(numbers.peek())) {
            command = numbers.take();
        } else if (command == 0 || asciiUpper(command) == 'Z') {
            break;
        }
        const char upper = asciiUpper(command);
        const auto index = commands.find(upper);
        if (index == std::string_view::npos) break;
        double values[7] = {};
        bool complete = true;
        for (int i = 0; i < operands[index] && complete; ++i) {
            const auto value = upper == 'A' && (i == 3 || i == 4) ? numbers.flag() : numbers.number();
            complete = value.has_value();
            values[i] = value.value_or(0);
        }
        if (!complete) break;
        const bool relative = command != upper;
        const auto point = [&](int i) {
            return relative ? Point{at.x + values[i], at.y + values[i + 1]} : Point{values[i], values[i + 1]};
        };
        Point to = at;
        double length = 0;
        switch (upper) {
        case 'M':
            at = start = point(0);
            // Further pairs after a move are lines.
            command = relative ? 'l' : 'L';
            continue;
        case 'Z':
            to = start;
            length = distance(at, to);
            break;
        case 'H':
            to.x = relative ? at.x + values[0] : values[0];
            length = distance(at, to);
            break;
        case 'V':
            to.y = relative ? at.y + values[0] : values[0];
            length = distance(at, to);
            break;
        case 'C':
            to = point(4);
            length = distance(at, point(0)) + distance(point(0), point(2)) + distance(point(2), to);
            break;
        case 'S':
        case 'Q':
            to = point(2);
            length = distance(at, point(0)) + distance(point(0), to);
            break;
        case 'A':
            to = point(5);
            length = pi / 2 * distance(at, to) + 2 * pi * std::max(std::abs(values[0]), std::abs(values[1]));
            break;
        default: // L, T
            to = point(0);
            length = distance(at, to);
        }
        outline.length += length;
        ++outline.segments;
        at = to;
    }
    return outline;
}

Outline pointsOutline(std::string_view points, bool closed, SvgDrawingCost::Reading& reading) {
    Numbers numbers(points, reading);
    Outline outline;
    std::optional<Point> first, last;
    while (!reading.giveUp()) {
        const auto x = numbers.number();
        const auto y = x ? numbers.number() : std::nullopt;
        if (!y) break;
        const Point point{*x, *y};
        if (last) {
            outline.length += distance(*last, point);
            ++outline.segments;
        }
        if (!first) first = point;
        last = point;
    }
    if (closed && first) {
        outline.length += distance(*last, *first);
        ++outline.segments;
    }
    return outline;
}

const std::string* valueOf(const std::vector<XmlReader::Attribute>& attributes, std::string_view name) {
    for (const auto& attribute : attributes)
        if (attribute.name == name) return &attribute.value;
    return nullptr;
}

// An attribute's leading number, whatever its unit; zero when it has none.
double numberOf(const std::vector<XmlReader::Attribute>& attributes, std::string_view name,
                SvgDrawingCost::Reading& reading) {
    const auto* value = valueOf(attributes, name);
    return value ? Numbers(*value, reading).number().value_or(0) : 0;
}

double lengthOf(const std::vector<XmlReader::Attribute>& attributes, std::string_view name,
                SvgDrawingCost::Reading& reading) {
    return std::abs(numberOf(attributes, name, reading));
}

// The length of one repeat of a dash pattern ("4 2", "1,1"); none for one
// that draws a solid line. Units are read as user units, and none of them is
// smaller than one, so the count of dashes is never under-estimated.
std::optional<double> dashPeriod(std::string_view pattern, SvgDrawingCost::Reading& reading) {
    Numbers numbers(pattern, reading);
    double sum = 0;
    int count = 0;
    while (!numbers.atEnd() && !reading.giveUp()) {
        const auto value = numbers.number();
        if (!value || *value < 0) return std::nullopt;
        sum += *value;
        ++count;
        numbers.skipUnit();
    }
    if (!(sum > 0)) return std::nullopt;
    return count % 2 == 1 ? 2 * sum : sum;
}

} // namespace

void SvgDrawingCost::addDashPattern(std::string_view pattern) {
    const auto period = dashPeriod(pattern, reading_);
    if (period && (!shortestPeriod_ || *period < *shortestPeriod_)) shortestPeriod_ = period;
}

// Each declaration's value runs to the first end of a value after it, or to
// the next declaration, whichever comes first. One search for an end serves
// every declaration before it, and each value is read up to the next one at
// most, so no part of the sheet is searched or read twice however many
// declarations it holds and however few ends.
void SvgDrawingCost::addStyleSheet(std::string_view sheet) {
    static constexpr std::string_view property = "stroke-dasharray";
    GiveUp& giveUp = reading_.giveUp;
    std::string lowered;
    lowered.reserve(sheet.size());
    for (std::size_t i = 0; i < sheet.size() && !giveUp(); i += GiveUp::bytesPerTurn)
        for (const char c : sheet.substr(i, GiveUp::bytesPerTurn))
            lowered += asciiLower(c);
    const std::string_view text = lowered;
    std::size_t end = 0;
    for (auto at = giveUp.find(text, property); at != std::string::npos && !giveUp();) {
        const auto next = std::min(giveUp.find(text, property, at + property.size()), text.size());
        const auto colon =
            giveUp.skip(text, at + property.size(), [](char c) { return isAsciiSpace(c) && c != '\v'; });
        if (colon < next && text[colon] == ':') {
            if (end <= colon)
                end = giveUp.skip(text, colon, [](char c) {
                    return std::string_view(";}!\"'").find(c) == std::string_view::npos;
                });
            addDashPattern(text.substr(colon + 1, std::min(end, next) - colon - 1));
        }
        at = next == text.size() ? std::string::npos : next;
    }
}

void SvgDrawingCost::addElement(std::string_view name, const std::vector<XmlReader::Attribute>& attributes) {
    for (const auto& attribute : attributes) {
        if (equalIgnoringCase(attribute.name, "stroke-dasharray")) addDashPattern(attribute.value);
        if (equalIgnoringCase(attribute.name, "style")) addStyleSheet(attribute.value);
    }
    // Data past the limit is not measured: the drawing is refused already.
    const auto withinData = [this](const std::string* data) {
        if (data) pathData_ += data->size();
        return data && pathData_ <= maxPathData;
    };
    Outline outline;
    if (name == "path") {
        const auto* data = valueOf(attributes, "d");
        if (withinData(data)) outline = pathOutline(*data, reading_);
    } else if (name == "polyline" || name == "polygon") {
        const auto* points = valueOf(attributes, "points");
        if (withinData(points)) outline = pointsOutline(*points, name == "polygon", reading_);
    } else if (name == "line") {
        outline = {distance({numberOf(attributes, "x1", reading_), numberOf(attributes, "y1", reading_)},
                            {numberOf(attributes, "x2", reading_), numberOf(attributes, "y2", reading_)}),
                   1};
    } else if (name == "rect") {
        outline = {2 * (lengthOf(attributes, "width", reading_) + lengthOf(attributes, "height", reading_)),
                   4};
    } else if (name == "circle") {
        outline = {2 * pi * lengthOf(attributes, "r", reading_), 1};
    } else if (name == "ellipse") {
        outline = {
            2 * pi * std::max(lengthOf(attributes, "rx", reading_), lengthOf(attributes, "ry", reading_)), 1};
    }
    segments_ += outline.segments;
    length_ += outline.length;
}

bool SvgDrawingCost::bearable() const {
    if (reading_.giveUp.given() || reading_.unsure || segments_ > maxPathSegments || pathData_ > maxPathData)
        return false;
    // Written so that a length too large to count refuses too.
    return !shortestPeriod_ || length_ / *shortestPeriod_ <= maxDashes;
}

} // namespace rondelix
