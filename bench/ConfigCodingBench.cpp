#include "model/ConfigCoding.h"
#include "store/ConfigSanitizer.h"

#include <benchmark/benchmark.h>

using namespace rondelix;

namespace {

Config largeConfig() {
    Config config;
    config.version = Config::currentVersion;
    config.bindings.push_back({Uuid::generate(), {58}, 100, true});
    for (int w = 0; w < 100; ++w) {
        Wheel wheel;
        wheel.id = "wheel-" + Uuid::generate().text();
        wheel.name = "Wheel " + std::to_string(w);
        wheel.sliceCount = 12;
        for (int s = 0; s < 12; ++s) {
            Slice slice{Uuid::generate(), s, "Slice " + std::to_string(s), Icon::SfSymbol{"star.fill"},
                        MacroAction::Text{}};
            switch (s % 4) {
            case 0:
                slice.action = MacroAction::Text{std::string(120, 'x')};
                break;
            case 1:
                slice.action = MacroAction::App{"org.gnome.Calculator", std::nullopt};
                break;
            case 2:
                slice.action = MacroAction::Url{"https://example.org/some/path"};
                break;
            default:
                slice.action = MacroAction::Keystroke{{12, true, true, false, false}};
                break;
            }
            wheel.slices.push_back(std::move(slice));
        }
        config.wheels.push_back(std::move(wheel));
    }
    return config;
}

// One round trip of a large file as the store makes it: read, sanitize, write.
void BM_DecodeAndEncodeLargeConfig(benchmark::State& state) {
    const std::string file = writeConfigFile(largeConfig());
    for (auto _ : state) {
        auto config = decodeConfigBytes(file);
        sanitize(*config);
        benchmark::DoNotOptimize(config);
        auto written = writeConfigFile(*config);
        benchmark::DoNotOptimize(written);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_DecodeAndEncodeLargeConfig)->Unit(benchmark::kMillisecond);

// Reading alone: from the bytes of the file to the records.
void BM_DecodeLargeConfig(benchmark::State& state) {
    const std::string file = writeConfigFile(largeConfig());
    for (auto _ : state) {
        auto config = decodeConfigBytes(file);
        benchmark::DoNotOptimize(config);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_DecodeLargeConfig)->Unit(benchmark::kMillisecond);

} // namespace
