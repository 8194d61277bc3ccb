#include "model/DefaultConfig.h"
#include "model/WheelState.h"
#include "overlay/OpenAnimation.h"
#include "overlay/ui/OverlayPanel.h"
#include "overlay/ui/WheelView.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

using namespace rondelix;

namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "rondelix_bench";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// The paint work of one whole opening of the factory wheel at 480 px: every
// frame of the open spring at 60 frames a second, drawn through the panel as
// the screen would draw it.
void paintOneOpening(benchmark::State& state) {
    application();
    WheelState wheelState;
    const Config config = DefaultConfig::factoryConfig();
    wheelState.setActiveWheelId(config.wheels.front().id);
    wheelState.setVisible(true);
    constexpr double diameter = 480;
    OverlayPanel panel({.diameter = diameter, .glass = false, .opaque = false},
                       [&](double d, QWidget* parent) {
                           return new WheelView(
                               wheelState, [&config] { return config; }, d, parent);
                       });
    QImage frame(panel.size(), QImage::Format_ARGB32_Premultiplied);
    const OpenAnimation opening{.reduceMotion = false, .wheelDiameter = diameter};
    const double frameTime = 1.0 / 60;
    int frames = 0;
    for (auto _ : state) {
        frames = 0;
        panel.playOpenAnimation(opening);
        for (double t = 0; t < opening.scaleDuration() + frameTime; t += frameTime) {
            panel.showOpenFrame(t);
            frame.fill(Qt::transparent);
            panel.render(&frame);
            ++frames;
        }
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["frames"] = frames;
}

} // namespace

BENCHMARK(paintOneOpening)->Unit(benchmark::kMillisecond);
