#include "BenchApplication.h"
#include "model/DefaultConfig.h"
#include "model/WheelState.h"
#include "overlay/OpenAnimation.h"
#include "overlay/ui/OverlayPanel.h"
#include "overlay/ui/WheelView.h"

#include <QApplication>
#include <QImage>
#include <QPropertyAnimation>
#include <QVariantAnimation>
#include <benchmark/benchmark.h>

using namespace rondelix;

namespace {

// The panel's open spring: its one animation that is not the window fade.
QVariantAnimation* springOf(const OverlayPanel& panel) {
    for (auto* animation : panel.findChildren<QVariantAnimation*>(Qt::FindDirectChildrenOnly))
        if (!qobject_cast<QPropertyAnimation*>(animation)) return animation;
    return nullptr;
}

// The paint work of one whole opening of the factory wheel at 480 px: every
// frame of the open spring at 60 frames a second, drawn through the panel as
// the screen would draw it. Real time counts the work Qt hands to its
// threads as well.
void paintOneOpening(benchmark::State& state, bool translucent) {
    ensureApplication();
    WheelState wheelState;
    const Config config = DefaultConfig::factoryConfig();
    wheelState.setActiveWheelId(config.wheels.front().id);
    wheelState.setVisible(true);
    constexpr double diameter = 480;
    OverlayPanel panel({.diameter = diameter, .glass = false, .opaque = !translucent},
                       [&](double d, QWidget* parent) {
                           return new WheelView(
                               wheelState, [&config] { return config; }, d, parent);
                       });
    QImage frame(panel.size(), QImage::Format_ARGB32_Premultiplied);
    const OpenAnimation opening{.reduceMotion = false, .wheelDiameter = diameter};
    constexpr int frameMs = 1000 / 60;
    int frames = 0;
    for (auto _ : state) {
        frames = 0;
        panel.playOpenAnimation(opening);
        QVariantAnimation* spring = springOf(panel);
        for (int ms = 0; spring && ms <= spring->duration() + frameMs; ms += frameMs) {
            spring->setCurrentTime(std::min(ms, spring->duration()));
            frame.fill(Qt::transparent);
            panel.render(&frame);
            ++frames;
        }
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["frames"] = frames;
}

} // namespace

BENCHMARK_CAPTURE(paintOneOpening, translucent, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(paintOneOpening, opaque, false)->Unit(benchmark::kMillisecond)->UseRealTime();
