// Any bytes at all given as a wheel file or a configuration to import: the
// decoders, the review and the repairs that follow must never crash, and a
// wheel that runs code must never be reviewed as harmless.
#include "model/ActionClassification.h"
#include "model/ConfigCoding.h"
#include "platform/sim/SimMainQueue.h"
#include "platform/sim/SimWorkspace.h"
#include "store/ConfigMigration.h"
#include "store/ConfigSanitizer.h"
#include "store/ImportReview.h"
#include "store/SharedWheel.h"
#include "store/TopLevelKeys.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void reviewWheel(const rondelix::Wheel& wheel) {
    static rondelix::platform::sim::SimMainQueue queue;
    static rondelix::platform::sim::SimWorkspace workspace{queue};
    const auto alert = rondelix::ImportReview::wheelImportAlert(wheel, workspace);
    if (rondelix::containsCode(wheel) == rondelix::codeWarnings(wheel).empty()) std::abort();
    if (alert.message.empty()) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto shared = rondelix::SharedWheel::decode(bytes)) {
        reviewWheel(shared->wheel);
        if (!rondelix::SharedWheel::decode(shared->fileBytes())) std::abort();
    }

    const auto keys = rondelix::TopLevelKeys::read(bytes);
    if (!keys || (!keys->contains("wheels") && !keys->contains("bindings"))) return 0;
    if (auto config = rondelix::decodeConfigBytes(bytes)) {
        for (const auto& wheel : config->wheels)
            reviewWheel(wheel);
        rondelix::sanitize(*config);
        rondelix::migrateIfNeeded(*config);
    }
    return 0;
}
