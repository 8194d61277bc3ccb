#include "icons/FaviconSvgCleaner.h"
#include "util/XmlReader.h"

#include <benchmark/benchmark.h>
#include <functional>
#include <map>

using namespace rondelix;

namespace {

constexpr std::int64_t oneMiB = 1 << 20;

// Repeats a piece of a drawing until the drawing holds `size` bytes.
std::string filled(std::size_t size, const std::string& head, const std::string& piece,
                   const std::string& tail) {
    std::string svg = head;
    while (svg.size() + piece.size() + tail.size() <= size)
        svg += piece;
    return svg + tail;
}

std::string numbered(const std::string& format, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += format.substr(0, format.find('#')) + std::to_string(i) + format.substr(format.find('#') + 1);
    return text;
}

// Drawings a website could send, each of the shape that costs a part of the
// cleaning most: attributes, elements, nesting, references, style sheets,
// long runs of one character and the measuring of paths and dashes.
const std::map<std::string, std::function<std::string(std::size_t)>> shapes = {
    {"one element with the most attributes, each long",
     [](std::size_t size) {
         const std::string value(size / XmlReader::maxAttributes - 16, 'u');
         return "<svg" + numbered(" a#='" + value + "'", XmlReader::maxAttributes) + "/>";
     }},
    {"elements with the most attributes",
     [](std::size_t size) {
         const std::string element = "<g" + numbered(" a#='url(x)'", XmlReader::maxAttributes) + "/>";
         return filled(size, "<svg>", element, "</svg>");
     }},
    {"the most elements",
     [](std::size_t size) { return filled(size, "<svg>", "<rect width='1' height='1'/>", "</svg>"); }},
    {"nested elements", [](std::size_t size) { return filled(size, "<svg>", "<g>", "</svg>"); }},
    {"references in text",
     [](std::size_t size) { return filled(size, "<svg><text>", "&#x2192;&amp;", "</text></svg>"); }},
    {"a style sheet",
     [](std::size_t size) {
         return filled(size, "<svg><style>", "a{fill:url(http://e/)}/**/@import 'x';", "</style></svg>");
     }},
    {"dash patterns in a style sheet without an end",
     [](std::size_t size) { return filled(size, "<svg><style>", "stroke-dasharray:1 ", "</style></svg>"); }},
    {"dash patterns in a style attribute without an end",
     [](std::size_t size) { return filled(size, "<svg><g style='", "stroke-dasharray:1 ", "'/></svg>"); }},
    {"text in one run", [](std::size_t size) { return filled(size, "<svg><text>", "x", "</text></svg>"); }},
    {"a style sheet in one run",
     [](std::size_t size) { return filled(size, "<svg><style>", "x", "</style></svg>"); }},
    {"an inline picture",
     [](std::size_t size) {
         return filled(size, "<svg><image href='data:image/png;base64,", "AAAA", "'/></svg>");
     }},
    {"a path at its limits",
     [](std::size_t size) {
         return filled(size, "<svg><path stroke-dasharray='4' d='M0 0", "c1 2 3 4 5 6a1 1 0 01 2 2 ",
                       "'/></svg>");
     }},
};

void cleaning(benchmark::State& state, const std::string& shape) {
    const std::string svg = shapes.at(shape)(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(cleanedSvg(svg, [](std::string_view) { return true; }));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * svg.size()));
    state.SetComplexityN(static_cast<std::int64_t>(svg.size()));
}

// At 256 KiB to 2 MiB, the most a website's drawing may hold: the fit says
// how the time grows with the size.
[[maybe_unused]] const bool registered = [] {
    for (const auto& [name, make] : shapes)
        benchmark::RegisterBenchmark(("SvgCleaning/" + name).c_str(), cleaning, name)
            ->RangeMultiplier(2)
            ->Range(oneMiB / 4, 2 * oneMiB)
            ->Complexity(benchmark::oN)
            ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
