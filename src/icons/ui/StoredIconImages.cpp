#include "icons/ui/StoredIconImages.h"

#include "icons/IconStore.h"
#include "icons/StoredIconRedraws.h"
#include "icons/ui/CustomIconImage.h"

namespace rondelix {

StoredIconImages::StoredIconImages(StoredIconRedraws* redraws, QObject* parent)
    : QObject(parent), redraws_(redraws) {
    if (redraws_) redraws_->redrawn = [this](const std::string&) { Q_EMIT redrawn(); };
}

StoredIconImages::~StoredIconImages() {
    if (redraws_) redraws_->redrawn = nullptr;
}

std::optional<QIcon> StoredIconImages::icon(const std::string& filename) {
    const auto bytes = IconStore::load(filename);
    if (!bytes) return std::nullopt;
    auto decoded = decodeCustomIcon(*bytes);
    if (!decoded && redraws_) redraws_->redraw(filename);
    return decoded;
}

} // namespace rondelix
