#include "BenchApplication.h"
#include "overlay/ui/WheelGraphic.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace rondelix;

namespace {

WheelGraphic::Inputs twelveSlots() {
    static const char* symbols[] = {
        "wifi",       "globe",    "moon.fill",       "lock.fill",         "star.fill",          "heart.fill",
        "doc.on.doc", "scissors", "magnifyingglass", "camera.viewfinder", "speaker.slash.fill", "gearshape"};
    WheelGraphic::Inputs inputs;
    inputs.wheel.id = "bench";
    inputs.wheel.name = "Twelve";
    inputs.wheel.sliceCount = 12;
    for (int p = 0; p < 12; ++p) {
        Slice slice;
        slice.id = Uuid::generate();
        slice.position = p;
        slice.label = p % 3 == 0 ? "Two line\nlabel " + std::to_string(p) : "Slice " + std::to_string(p);
        slice.icon = p == 5 ? Icon(Icon::Emoji{"🚀"}) : Icon(Icon::SfSymbol{symbols[p]});
        inputs.wheel.slices.push_back(slice);
    }
    inputs.wheelIds =
        std::make_shared<const std::vector<std::string>>(std::vector<std::string>{"w1", "w2", "w3", "w4"});
    inputs.activeWheelId = "w1";
    inputs.aimedPosition = 4;
    return inputs;
}

// One overlay frame: the 12-slot wheel with icons, labels and an aimed slot.
void paintTwelveSlotWheel(benchmark::State& state, ColorScheme scheme) {
    ensureApplication();
    WheelGraphic graphic;
    graphic.setReduceMotion(true);
    graphic.setColorScheme(scheme);
    graphic.setInputs(twelveSlots());
    graphic.resize(480, 480);
    QImage frame(480, 480, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        frame.fill(Qt::transparent);
        QPainter painter(&frame);
        graphic.paint(painter);
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
}

// The frames the overlay really draws: the aim moves on every one.
void paintWhileAimMoves(benchmark::State& state) {
    ensureApplication();
    WheelGraphic graphic;
    graphic.setReduceMotion(true);
    graphic.setColorScheme(ColorScheme::dark);
    auto inputs = twelveSlots();
    graphic.resize(480, 480);
    QImage frame(480, 480, QImage::Format_ARGB32_Premultiplied);
    int aim = 0;
    for (auto _ : state) {
        inputs.aimedPosition = aim++ % 12;
        graphic.setInputs(inputs);
        frame.fill(Qt::transparent);
        QPainter painter(&frame);
        graphic.paint(painter);
        painter.end();
        benchmark::DoNotOptimize(frame.constBits());
    }
}

} // namespace

BENCHMARK(paintWhileAimMoves)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paintTwelveSlotWheel, dark, ColorScheme::dark)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paintTwelveSlotWheel, light, ColorScheme::light)->Unit(benchmark::kMillisecond);
