#pragma once

#include "platform/MainQueue.h"
#include "util/LifetimeGuard.h"
#include "util/Signal.h"

#include <memory>
#include <optional>
#include <string>

namespace rondelix {

struct ToastInfo {
    std::string message;
    // A wheel just added: the toast then offers View and Undo.
    std::optional<std::string> viewWheelId;

    friend bool operator==(const ToastInfo&, const ToastInfo&) = default;
};

// The gallery page's passing confirmation. A newer toast takes the place of
// the one on screen; each hides itself after its time unless a newer one has
// come meanwhile, which the token tells.
class GalleryToast {
  public:
    static constexpr double plainSeconds = 2.4;
    static constexpr double addedSeconds = 4.0;

    explicit GalleryToast(platform::MainQueue& queue);
    ~GalleryToast();
    GalleryToast(const GalleryToast&) = delete;
    GalleryToast& operator=(const GalleryToast&) = delete;

    void show(std::string message, std::optional<std::string> viewWheelId = std::nullopt);
    // Hides the toast without touching the token (Undo does this).
    void hide();

    const std::optional<ToastInfo>& current() const { return current_; }
    int token() const { return token_; }

    // Told when the toast appears, changes or goes.
    Signal<> changed;

  private:
    platform::MainQueue& queue_;
    std::optional<ToastInfo> current_;
    int token_ = 0;
    LifetimeGuard lifetime_;
};

} // namespace rondelix
