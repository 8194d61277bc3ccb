// Any text at all as a link slice: whenever firing it would hand the desktop's
// opener a link of a scheme that may run code (or a file link, which this
// opener refuses), the review must have said that it runs code.
#include "actions/MacroExecutor.h"
#include "model/ActionClassification.h"
#include "platform/sim/SimEventTaps.h"
#include "platform/sim/SimLog.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimPasteboard.h"
#include "platform/sim/SimProcesses.h"
#include "platform/sim/SimSounds.h"
#include "platform/sim/SimWorkspace.h"
#include "util/UrlSyntax.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

namespace sim = rondelix::platform::sim;

struct Opener {
    sim::SimMainQueue queue;
    sim::SimPasteboard pasteboard;
    sim::SimWorkspace workspace{queue};
    sim::SimProcesses processes{queue};
    sim::SimEventTaps taps{queue};
    sim::SimSounds sounds;
    sim::SimLog log;
    rondelix::MacroExecutor executor{{queue, pasteboard, workspace, processes, taps, sounds, log},
                                     {"/bin/sh", "/nonexistent/shortcuts", "/nonexistent"}};

    // True when firing the link reached the opener with a scheme that may run
    // code, or was refused only for being a file link.
    bool reachesCode(const std::string& link) {
        workspace.openedLinks.clear();
        log.clear();
        executor.fire(rondelix::MacroAction::Url{link});
        queue.runPending();
        if (!log.lines().empty()) return true; // the refused file link is the only line
        if (workspace.openedLinks.empty()) return false;
        const auto scheme = rondelix::urlScheme(workspace.openedLinks.front());
        return scheme && std::find(rondelix::safeURLSchemes.begin(), rondelix::safeURLSchemes.end(),
                                   *scheme) == rondelix::safeURLSchemes.end();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Opener opener;
    const std::string link(reinterpret_cast<const char*>(data), size);
    if (opener.reachesCode(link) && !rondelix::canRunCode(rondelix::MacroAction::Url{link})) std::abort();
    return 0;
}
