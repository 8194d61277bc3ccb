#include "BenchApplication.h"
#include "model/DefaultConfig.h"
#include "model/WheelState.h"
#include "overlay/OpenAnimation.h"
#include "overlay/ui/OverlayPanel.h"
#include "overlay/ui/SliceIconSources.h"
#include "overlay/ui/WheelView.h"

#include <QImage>
#include <benchmark/benchmark.h>

using namespace rondelix;

namespace {

// The paint work of one whole opening of the factory wheel at 480 px: every
// frame of the open spring at 60 frames a second, drawn through the panel as
// the screen would draw it. On screen the panel leaves out the frames that
// would move the rim by less than half a pixel; here every step is drawn all
// the same, so the figure is the cost of a frame times the steps. The
// time is the process's CPU time, so work Qt hands to its threads counts too.
void paintOneOpening(benchmark::State& state, bool translucent) {
    ensureApplication();
    WheelState wheelState;
    const Config config = DefaultConfig::factoryConfig();
    wheelState.setActiveWheelId(config.wheels.front().id);
    wheelState.setVisible(true);
    SliceIconSources icons;
    constexpr double diameter = 480;
    OverlayPanel panel({.diameter = diameter, .glass = false, .opaque = !translucent},
                       [&](double d, QWidget* parent) {
                           return new WheelView(
                               wheelState, [&config] { return config; }, icons, d, parent);
                       });
    QImage frame(panel.size(), QImage::Format_ARGB32_Premultiplied);
    const OpenAnimation opening{.reduceMotion = false, .wheelDiameter = diameter};
    constexpr int frameMs = 1000 / 60;
    const int duration = static_cast<int>(std::lround(opening.scaleDuration() * 1000));
    int frames = 0;
    for (auto _ : state) {
        frames = 0;
        panel.playOpenAnimation(opening);
        for (int ms = 0; ms <= duration + frameMs; ms += frameMs) {
            panel.showOpenFrame(std::min(ms, duration) / 1000.0);
            frame.fill(Qt::transparent);
            panel.render(&frame);
            ++frames;
        }
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["frames"] = frames;
}

} // namespace

BENCHMARK_CAPTURE(paintOneOpening, translucent, true)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(paintOneOpening, opaque, false)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
