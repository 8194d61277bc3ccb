#include "BenchApplication.h"
#include "app/ui/GalleryWiring.h"
#include "gallery/ui/GalleryBrowserPage.h"
#include "overlay/ui/SliceIconSources.h"
#include "platform/sim/SimBackground.h"
#include "platform/sim/SimFileWatcher.h"
#include "platform/sim/SimHomeFolder.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimLoginItems.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimWorkspace.h"
#include "store/ConfigStore.h"

#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

using namespace rondelix;

namespace {

// The gallery page at a main window's size over a store in a scratch folder.
struct PageRig {
    std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("rondelix-gallery-bench-" + std::to_string(::getpid()));
    platform::sim::SimMainQueue queue;
    platform::sim::SimLog log;
    platform::sim::SimHomeFolder homeFolder{home};
    platform::sim::SimFileWatcher watcher;
    platform::sim::SimLoginItems loginItems;
    platform::sim::SimBackground background;
    platform::sim::SimWorkspace workspace{queue};
    ConfigStore store{ConfigStore::Platform{queue, log, homeFolder, watcher, loginItems}};
    SliceIconSources icons;
    GalleryBrowserPage page{
        GalleryBrowserPage::Services{{},
                                     queue,
                                     background,
                                     workspace,
                                     [this] { return Color::fromHex(store.config().behavior.accentHex); },
                                     [] { return false; },
                                     store.configChanged,
                                     wheelPreviewFactory(store, icons),
                                     {}},
        447};
    QPixmap frame{1056, 680};

    PageRig() {
        page.resize(1056, 680);
        page.show();
    }
    ~PageRig() { std::filesystem::remove_all(home); }
    void draw() { page.render(&frame); }
};

} // namespace

// A click on a category: the list and the stage change and the page is drawn.
static void BM_GallerySwitchCategory(benchmark::State& state) {
    ensureApplication();
    PageRig rig;
    const auto categories = WheelGallery::categories();
    std::size_t next = 0;
    for (auto _ : state) {
        rig.page.categoryButton(categories[next++ % categories.size()])->click();
        rig.draw();
    }
}
BENCHMARK(BM_GallerySwitchCategory)->Unit(benchmark::kMillisecond);

// One more letter in the search field, and the page drawn.
static void BM_GalleryTypeSearchLetter(benchmark::State& state) {
    ensureApplication();
    PageRig rig;
    const QString words[] = {"s", "sl", "sla", "slac", "slack", ""};
    std::size_t next = 0;
    for (auto _ : state) {
        rig.page.searchField()->setText(words[next++ % std::size(words)]);
        rig.draw();
    }
}
BENCHMARK(BM_GalleryTypeSearchLetter)->Unit(benchmark::kMillisecond);
