#include "gallery/GalleryToast.h"

namespace rondelix {

GalleryToast::GalleryToast(platform::MainQueue& queue) : queue_(queue) {}

GalleryToast::~GalleryToast() {
    lifetime_.end();
}

void GalleryToast::show(std::string message, std::optional<std::string> viewWheelId) {
    const double seconds = viewWheelId ? addedSeconds : plainSeconds;
    current_ = ToastInfo{std::move(message), std::move(viewWheelId)};
    const int shownToken = ++token_;
    changed.emit();
    queue_.after(seconds, [this, shownToken, alive = lifetime_.watch()] {
        if (!alive || token_ != shownToken) return;
        hide();
    });
}

void GalleryToast::hide() {
    if (!current_) return;
    current_.reset();
    changed.emit();
}

} // namespace rondelix
