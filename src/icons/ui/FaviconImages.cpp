#include "icons/ui/FaviconImages.h"

#include "icons/FaviconCache.h"

namespace rondelix {

FaviconImages::FaviconImages(FaviconCache& cache, QObject* parent)
    : QObject(parent), cache_(cache),
      listener_(cache.addListener([this](const std::string&) { Q_EMIT arrived(); })) {}

FaviconImages::~FaviconImages() {
    cache_.removeListener(listener_);
}

std::optional<QImage> FaviconImages::image(const std::string& host, bool prefetch) {
    if (prefetch) cache_.prefetch(host);
    if (const auto found = decoded_.find(host); found != decoded_.end()) return found->second;
    const std::string* png = cache_.image(host);
    if (!png) return std::nullopt;
    QImage image =
        QImage::fromData(reinterpret_cast<const uchar*>(png->data()), static_cast<int>(png->size()), "PNG");
    if (image.isNull()) return std::nullopt;
    decoded_.emplace(host, image);
    return image;
}

} // namespace rondelix
