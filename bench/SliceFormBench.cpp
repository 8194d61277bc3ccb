#include "editor/SliceSlot.h"
#include "model/DefaultConfig.h"
#include "platform/sim/SimFileWatcher.h"
#include "platform/sim/SimHomeFolder.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimLoginItems.h"
#include "platform/sim/SimMainQueue.h"
#include "store/ConfigStore.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

using namespace rondelix;

namespace {

// One keystroke in the script editor of a slice that holds a pasted megabyte:
// the whole slice is written back as one coalesced wheel edit. The target is
// well under a frame (16 ms).
void BM_SliceFormKeystrokeInAMegabyteScript(benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "rondelix-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    platform::sim::SimMainQueue queue;
    platform::sim::SimLog log;
    platform::sim::SimHomeFolder home{folder};
    platform::sim::SimFileWatcher watcher;
    platform::sim::SimLoginItems loginItems;
    ConfigStore store({queue, log, home, watcher, loginItems});
    const SliceSlot slot{"default", 0};
    Slice slice = slot.read(store);
    std::string script(1024 * 1024, 'x');
    slice.action = MacroAction::Script{script};
    slot.write(store, slice);
    for (auto _ : state) {
        script.push_back('y');
        slice.action = MacroAction::Script{script};
        slot.write(store, slice);
        queue.advance(ConfigStore::debounceDelay);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SliceFormKeystrokeInAMegabyteScript)->Unit(benchmark::kMillisecond)->Iterations(30);

} // namespace
