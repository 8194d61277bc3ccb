#pragma once

#include "gallery/GalleryBrowserState.h"
#include "gallery/GalleryServices.h"
#include "gallery/GalleryToast.h"
#include "platform/Background.h"
#include "platform/MainQueue.h"
#include "util/LifetimeGuard.h"
#include "util/Signal.h"

#include <memory>
#include <optional>

namespace rondelix::platform {
class Workspace;
} // namespace rondelix::platform

namespace rondelix {

// The gallery page behind its widgets: browsing state, the installed check,
// trying slices, the review sheet and adding a wheel, and the toast.
class GalleryBrowserModel {
  public:
    GalleryBrowserModel(GalleryServices services, platform::MainQueue& queue,
                        platform::Background& background, const platform::Workspace& workspace);
    ~GalleryBrowserModel();
    GalleryBrowserModel(const GalleryBrowserModel&) = delete;
    GalleryBrowserModel& operator=(const GalleryBrowserModel&) = delete;

    GalleryBrowserState& state() { return state_; }
    const GalleryBrowserState& state() const { return state_; }
    GalleryToast& toast() { return toast_; }

    // Looks for the applications away from the main thread and applies what
    // it finds when it comes back; a failed look leaves every wheel usable.
    void detectInstalled();

    // The selected wheel as this desktop would send it.
    std::optional<Wheel> previewWheel() const;
    void trySlice(int position);

    const GalleryWheel* sheetWheel() const { return sheetWheel_; }
    void openSheet();
    void closeSheet();
    // Adds the wheel, closes the sheet and confirms with View and Undo.
    void addWheel(const GalleryWheel& gallery);
    void viewAdded();
    void undoAdded();

    // Told when the browsing state or the sheet changed outside a direct call
    // (the installed check came back, a wheel was added).
    Signal<> changed;

  private:
    GalleryServices services_;
    platform::MainQueue& queue_;
    platform::Background& background_;
    const platform::Workspace& workspace_;
    GalleryBrowserState state_;
    GalleryToast toast_;
    const GalleryWheel* sheetWheel_ = nullptr;
    LifetimeGuard lifetime_;
};

} // namespace rondelix
