#include "icons/StoredIconRedraws.h"

#include "icons/IconStore.h"

namespace rondelix {

StoredIconRedraws::StoredIconRedraws(std::filesystem::path folder, Services services)
    : folder_(std::move(folder)), services_(services) {}

void StoredIconRedraws::redraw(const std::string& filename) {
    if (!asked_.insert(filename).second) return;
    services_.background.run([this, alive = lifetime_.watch(), folder = folder_, filename,
                              &images = services_.images, &queue = services_.queue, &log = services_.log] {
        const auto bytes = IconStore::load(folder, filename);
        if (!bytes) return;
        const auto drawn = images.fittedAsPNG(*bytes, IconStore::maxEdge, largestStoredSide, {}, nullptr).png;
        if (!drawn) {
            log.write("the stored icon " + filename + " couldn't be drawn; its slices show a placeholder.");
            return;
        }
        if (const auto written = IconStore::replaceStored(folder, filename, *bytes, *drawn); !written.ok()) {
            log.write("the stored icon " + filename + " couldn't be drawn anew: " + written.error());
            return;
        }
        queue.post([this, alive, filename] {
            if (alive && redrawn) redrawn(filename);
        });
    });
}

} // namespace rondelix
