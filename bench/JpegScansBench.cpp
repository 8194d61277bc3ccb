// Counting a JPEG's scans, done before a picture from outside is decoded:
// linear in the bytes, from a picture's usual size to the 100 MiB a chosen
// one may have, whatever the bytes hold.

#include "util/JpegScans.h"

#include <benchmark/benchmark.h>
#include <functional>
#include <map>
#include <string>

using namespace rondelix;

namespace {

constexpr std::int64_t oneMiB = 1 << 20;

// The start of a JPEG, then the head, then the piece until `size` bytes.
std::string repeatedUntil(std::size_t size, const std::string& head, const std::string& piece) {
    std::string bytes = "\xFF\xD8" + head;
    while (bytes.size() + piece.size() <= size)
        bytes += piece;
    return bytes;
}

const std::string scanHeader("\xFF\xDA\x00\x08\x01\x01\x00\x01\x3F\x00", 10);

// The shapes that make the count take most steps: scans of two bytes each,
// coded data made of stuffed bytes, and fill between markers.
const std::map<std::string, std::function<std::string(std::size_t)>> shapes = {
    {"the most scans", [](std::size_t size) { return repeatedUntil(size, "", scanHeader + "\x12\x34"); }},
    {"stuffed coded data",
     [](std::size_t size) { return repeatedUntil(size, scanHeader, std::string("\xFF\x00", 2)); }},
    {"fill before every marker",
     [](std::size_t size) { return repeatedUntil(size, "", "\xFF\xFF\xFF\xFF\xFF\xFF" + scanHeader); }},
};

void counting(benchmark::State& state, const std::string& shape) {
    const std::string bytes = shapes.at(shape)(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(jpegScanCount(bytes));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.SetComplexityN(static_cast<std::int64_t>(bytes.size()));
}

[[maybe_unused]] const bool registered = [] {
    for (const auto& [name, make] : shapes)
        benchmark::RegisterBenchmark(("JpegScans/" + name).c_str(), counting, name)
            ->RangeMultiplier(4)
            ->Range(oneMiB, 64 * oneMiB)
            ->Complexity(benchmark::oN)
            ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace
