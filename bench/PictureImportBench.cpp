// A chosen picture is decoded and shrunk by the drawer with these readers
// (DrawerImages), away from the window, and a quit gives it up rather than
// waiting: this is how long the drawer takes over a large picture, which
// the user waits for the icon. Target: under 3 s for a 4000 x 4000
// photograph-like picture, well within the drawer's six seconds.

#include "BenchApplication.h"
#include "icons/IconStore.h"
#include "platform/linux/qt/QtImages.h"
#include "platform/sim/SimLog.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <filesystem>

using namespace rondelix;

namespace {

void BM_ImportALargePicture(benchmark::State& state) {
    ensureApplication();
    const auto folder = std::filesystem::temp_directory_path() / "rondelix-bench-picture-import";
    std::filesystem::create_directories(folder / "icons");
    const auto picture = folder / "large.png";
    // Noise, which PNG cannot squeeze: as slow to read as a photograph.
    QImage noise(4000, 4000, QImage::Format_RGB32);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixel(x, y, static_cast<QRgb>((x * 2654435761u) ^ (y * 40503u)));
    if (!noise.save(QString::fromStdString(picture.string()))) {
        state.SkipWithError("could not write the picture to the temporary folder");
        return;
    }
    const platform::linux_desktop::QtImages images;
    platform::sim::SimLog log;
    for (auto _ : state) {
        const auto stored = IconStore::importImage(folder / "icons", picture, images, log);
        if (!stored) {
            state.SkipWithError("the picture was not imported");
            break;
        }
        std::filesystem::remove(folder / "icons" / *stored);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ImportALargePicture)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
