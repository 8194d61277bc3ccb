#pragma once

#include "overlay/LabelRoom.h"

#include <QFont>
#include <QStaticText>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rondelix {

// A slice's label as drawn under its icon: at most two lines, in a font that
// may be shrunk so that it stays inside its slot.
struct SliceLabel {
    std::vector<QStaticText> lines;
    std::vector<double> widths;
    QFont font;
    double lineHeight = 0;
    double width = 0;
    // Tells layouts apart for the images the painter keeps.
    std::string key;

    double height() const { return lineHeight * static_cast<double>(lines.size()); }
};

// The longest start of UTF-8 text that is at most maxBytes long and ends on
// a character boundary.
std::string_view utf8Prefix(std::string_view text, std::size_t maxBytes);

// Measures text in the font given for each pixel size.
TextMeasure measureWith(std::function<QFont(int pixelSize)> fontAt);

// Lays labels out inside their slots (see fitLines) and keeps the layouts,
// since the overlay redraws on every aim change.
class SliceLabels {
  public:
    static constexpr int pixelSize = 11;
    // 80 % of the label's own size, in whole pixels.
    static constexpr int smallestPixelSize = 9;
    // The aimed slice is drawn this much larger; its label stays inside then too.
    static constexpr double emphasisedScale = 1.12;

    static QFont font(int pixelSize);

    const SliceLabel& layout(const std::string& text, const SlotStack& stack);

  private:
    std::unordered_map<std::string, SliceLabel> layouts_;
};

} // namespace rondelix
