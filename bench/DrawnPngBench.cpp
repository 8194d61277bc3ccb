// Telling a stored icon the drawer wrote from any other file, done before
// the window decodes one: linear in the bytes, up to the 5 MiB an icon file
// may have, whatever chunks the bytes hold.

#include "icons/DrawnPng.h"

#include <benchmark/benchmark.h>
#include <functional>
#include <map>
#include <string>

using namespace rondelix;

namespace {

constexpr std::int64_t oneMiB = 1 << 20;

std::string bigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

std::string chunk(const std::string& type, const std::string& data) {
    return bigEndian(static_cast<std::uint32_t>(data.size())) + type + data + std::string(4, '\0');
}

const std::string emptyPixelData = chunk("IDAT", "");

// A header, then empty pixel data chunks, the fewest bytes a chunk can have,
// until `size` bytes with the last chunks.
std::string repeatedUntil(std::size_t size, const std::string& last) {
    std::string bytes = std::string("\x89PNG\r\n\x1A\n", 8) +
                        chunk("IHDR", bigEndian(256) + bigEndian(256) + std::string("\x08\x06\0\0\0", 5));
    while (bytes.size() + emptyPixelData.size() + last.size() <= size)
        bytes += emptyPixelData;
    return bytes + last;
}

struct Shape {
    std::function<std::string(std::size_t)> make;
    bool drawn;
};

// The shapes that make the walk take most steps: a file taken at its end,
// and one refused only at its end.
const std::map<std::string, Shape> shapes = {
    {"taken", {[](std::size_t size) { return repeatedUntil(size, chunk("IEND", "")); }, true}},
    {"refused at the end",
     {[](std::size_t size) { return repeatedUntil(size, chunk("tEXt", "k") + chunk("IEND", "")); }, false}},
};

void walking(benchmark::State& state, const std::string& name) {
    const Shape& shape = shapes.at(name);
    const std::string bytes = shape.make(static_cast<std::size_t>(state.range(0)));
    if (isDrawnPng(bytes, 256) != shape.drawn) state.SkipWithError("the file is told wrongly");
    for (auto _ : state)
        benchmark::DoNotOptimize(isDrawnPng(bytes, 256));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.SetComplexityN(static_cast<std::int64_t>(bytes.size()));
}

[[maybe_unused]] const bool registered = [] {
    for (const auto& [name, shape] : shapes)
        benchmark::RegisterBenchmark(("DrawnPng/" + name).c_str(), walking, name)
            ->RangeMultiplier(4)
            ->Range(oneMiB / 16, 4 * oneMiB)
            ->Complexity(benchmark::oN)
            ->Unit(benchmark::kMicrosecond);
    return true;
}();

} // namespace
