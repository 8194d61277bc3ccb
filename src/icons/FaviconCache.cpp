#include "icons/FaviconCache.h"

namespace rondelix {

FaviconCache::FaviconCache(platform::MainQueue& queue, platform::Background& background, Search search)
    : queue_(queue), background_(background), search_(std::move(search)) {}

FaviconCache::~FaviconCache() {
    lifetime_.end();
}

void FaviconCache::prefetch(const std::string& host) {
    if (images_.contains(host) || inFlight_.contains(host)) return;
    if (const auto failed = failedAt_.find(host);
        failed != failedAt_.end() && queue_.now() - failed->second < retryAfterSeconds)
        return;
    inFlight_.insert(host);
    background_.run([this, alive = lifetime_.watch(), host, search = search_, &queue = queue_] {
        auto image = search(host);
        queue.post([this, alive, host, image = std::move(image)]() mutable {
            if (alive) finished(host, std::move(image));
        });
    });
}

void FaviconCache::finished(const std::string& host, std::optional<std::string> image) {
    inFlight_.erase(host);
    if (!image) {
        failedAt_[host] = queue_.now();
        return;
    }
    images_.emplace(host, std::move(*image));
    failedAt_.erase(host);
    // A listener may remove itself while being told.
    const auto listeners = listeners_;
    for (const auto& [id, listener] : listeners)
        listener(host);
}

const std::string* FaviconCache::image(const std::string& host) const {
    const auto found = images_.find(host);
    return found == images_.end() ? nullptr : &found->second;
}

int FaviconCache::addListener(Listener listener) {
    listeners_.emplace(nextListener_, std::move(listener));
    return nextListener_++;
}

void FaviconCache::removeListener(int id) {
    listeners_.erase(id);
}

} // namespace rondelix
