#include "gallery/GalleryCatalogue.h"
#include "gallery/WheelGallery.h"

#include <benchmark/benchmark.h>

using namespace rondelix;

// Everything the first read of the gallery pays for: 61 wheels, 459 slices.
static void BM_GalleryBuildCatalogue(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(GalleryCatalogue::build());
}
BENCHMARK(BM_GalleryBuildCatalogue)->Unit(benchmark::kMicrosecond);

// One typed letter over the whole catalogue.
static void BM_GallerySearchOneKeystroke(benchmark::State& state) {
    WheelGallery::all();
    for (auto _ : state)
        benchmark::DoNotOptimize(WheelGallery::search("s"));
}
BENCHMARK(BM_GallerySearchOneKeystroke)->Unit(benchmark::kMicrosecond);
