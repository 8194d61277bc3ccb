#include "icons/FaviconSvgCleaner.h"
#include "util/XmlReader.h"

#include <benchmark/benchmark.h>
#include <functional>
#include <map>

using namespace rondelix;

namespace {

constexpr std::size_t twoMiB = 2u << 20;

// Repeats a piece of a drawing until the drawing holds 2 MiB.
std::string filled(const std::string& head, const std::string& piece, const std::string& tail) {
    std::string svg = head;
    while (svg.size() + piece.size() + tail.size() <= twoMiB)
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
// cleaning most: attributes, elements, nesting, references, style sheets and
// the measuring of paths.
const std::map<std::string, std::function<std::string()>> shapes = {
    {"one element with every attribute", [] { return filled("<svg", numbered(" a#=''", 1), "/>"); }},
    {"elements with the most attributes",
     [] {
         const std::string element = "<g" + numbered(" a#='url(x)'", XmlReader::maxAttributes) + "/>";
         return filled("<svg>", element, "</svg>");
     }},
    {"the most elements", [] { return filled("<svg>", "<rect width='1' height='1'/>", "</svg>"); }},
    {"nested elements", [] { return filled("<svg>", "<g>", "</svg>"); }},
    {"references in text", [] { return filled("<svg><text>", "&#x2192;&amp;", "</text></svg>"); }},
    {"a style sheet",
     [] { return filled("<svg><style>", "a{fill:url(http://e/)}/**/@import 'x';", "</style></svg>"); }},
    {"a path at its limits",
     [] {
         return filled("<svg><path stroke-dasharray='4' d='M0 0", "c1 2 3 4 5 6a1 1 0 01 2 2 ", "'/></svg>");
     }},
};

void cleaning(benchmark::State& state, const std::string& shape) {
    const std::string svg = shapes.at(shape)();
    for (auto _ : state)
        benchmark::DoNotOptimize(cleanedSvg(svg, [](std::string_view) { return true; }));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * svg.size()));
}

[[maybe_unused]] const bool registered = [] {
    for (const auto& [name, make] : shapes)
        benchmark::RegisterBenchmark(("SvgCleaning/" + name).c_str(), cleaning, name)
            ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
