#include "icons/SymbolCatalog.h"
#include "icons/SymbolGlyphs.h"

#include <benchmark/benchmark.h>

using namespace rondelix;

namespace {

// The first opening of the symbol picker builds the catalogue.
void BM_BuildSymbolCatalogue(benchmark::State& state) {
    for (auto _ : state) {
        auto catalogue = SymbolCatalog::assemble(SymbolCatalog::builtInNames(), [](std::string_view name) {
            return symbolGlyph(name).has_value();
        });
        benchmark::DoNotOptimize(catalogue);
    }
}
BENCHMARK(BM_BuildSymbolCatalogue)->Unit(benchmark::kMicrosecond);

// Every keystroke in the picker's search filters the whole catalogue; the
// target is well under a millisecond.
void BM_FilterSymbolsPerKeystroke(benchmark::State& state) {
    const auto& all = SymbolCatalog::all();
    const std::string queries[] = {"a", "ar", "arr", "arro", "arrow", std::string(10000, 'x')};
    std::size_t next = 0;
    for (auto _ : state) {
        auto shown = SymbolCatalog::filter(all, queries[next++ % std::size(queries)]);
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_FilterSymbolsPerKeystroke)->Unit(benchmark::kMicrosecond);

} // namespace
