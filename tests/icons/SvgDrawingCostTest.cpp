#include "icons/SvgDrawingCost.h"

#include "icons/FaviconSvgCleaner.h"

#include <gtest/gtest.h>

namespace rondelix {
namespace {

std::string repeated(std::string_view piece, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += piece;
    return text;
}

std::string path(const std::string& d, const std::string& more = "") {
    return R"(<svg viewBox="0 0 100 100"><path )" + more + R"( d=")" + d + R"("/></svg>)";
}

// Costly drawings are refused by the cleaning, ordinary dashed and detailed
// ones kept.
TEST(SvgDrawingCost, RefusesManySegmentsAndDashesTinyAgainstTheirStroke) {
    const std::string long_ = "M0 0" + repeated("h100v100h-100v-100", 50); // 20,000 long
    const struct {
        std::string svg;
        bool drawn;
    } cases[] = {
        {path(long_, R"(stroke-dasharray="4 2")"), true},   // 3,333 dashes
        {path(long_, R"(stroke-dasharray="0.5")"), true},   // 20,000, the most
        {path(long_, R"(stroke-dasharray="0.4")"), false},  // 25,000
        {path(long_, R"(stroke-dasharray="1 0.5")"), true}, // 13,333
        {path(long_, R"(stroke-dasharray="none")"), true},
        {path(long_, R"(stroke-dasharray="0 0")"), true}, // solid
        {path(long_, R"(stroke-dasharray="0.01mm")"), false},
        {path(long_, R"(style="fill:none;stroke-dasharray : .1,.1")"), false},
        {R"(<svg><style>path{stroke-dasharray:0.1}</style><path d=")" + long_ + R"("/></svg>)", false},
        // Curves and arcs count at least their length, flags touching numbers.
        {path("M0 0c0 0 1e4 0 1e4 0", R"(stroke-dasharray="0.1")"), false},
        {path("M0 0a1e3 1e3 0 01 10 0", R"(stroke-dasharray="0.1")"), false},
        {R"(<svg><polyline points="0,0 0,1e4" stroke-dasharray="1"/></svg>)", true},
        {R"(<svg><polyline points="0,0 0,1e5" stroke-dasharray="1"/></svg>)", false},
        {R"(<svg><circle r="1e4" stroke-dasharray="1"/></svg>)", false},
        {R"(<svg><line x1="-1e4" x2="1e4" stroke-dasharray="1"/></svg>)", true},
        // Segments and path data, dashed or not.
        {path("M0 0" + repeated("l1 1", SvgDrawingCost::maxPathSegments)), true},
        {path("M0 0" + repeated("l1 1", SvgDrawingCost::maxPathSegments + 1)), false},
        {path("M0 0" + std::string(SvgDrawingCost::maxPathData, ' ')), false},
        // A number written longer than any drawing needs is not read.
        {R"(<svg><rect width=")" + std::string(SvgDrawingCost::maxNumberLength, '0') + R"("/></svg>)", true},
        {R"(<svg><rect width=")" + std::string(SvgDrawingCost::maxNumberLength + 1, '0') + R"("/></svg>)",
         false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cleanedSvg(c.svg, [](std::string_view) { return false; }).has_value(), c.drawn)
            << c.svg.substr(0, 120);
}

} // namespace
} // namespace rondelix
