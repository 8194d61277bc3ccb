#include "gallery/GalleryBrowserModel.h"

#include "gallery/GalleryAdding.h"
#include "gallery/GalleryTrial.h"
#include "platform/CurrentDesktop.h"
#include "util/CurlyQuoted.h"

#include <algorithm>
#include <exception>
#include <optional>

namespace rondelix {

GalleryBrowserModel::GalleryBrowserModel(GalleryServices services, platform::MainQueue& queue,
                                         platform::Background& background,
                                         const platform::Workspace& workspace)
    : services_(std::move(services)), queue_(queue), background_(background), workspace_(workspace),
      toast_(queue) {}

GalleryBrowserModel::~GalleryBrowserModel() {
    lifetime_.end();
}

void GalleryBrowserModel::detectInstalled() {
    // The job takes the workspace and the queue along, never this model: the
    // page may close while the pool thread still looks.
    background_.run([this, alive = lifetime_.watch(), &workspace = workspace_, &queue = queue_] {
        std::set<std::string> found;
        // Nothing found is what a failed look means to the page; the log says why.
        std::optional<std::string> failure;
        try {
            found = WheelGallery::installedAppIDs(workspace);
        } catch (const std::exception& error) {
            failure = error.what();
        } catch (...) {
            failure = "an error of unknown kind";
        }
        queue.post([this, alive, found = std::move(found), failure = std::move(failure)]() mutable {
            if (!alive) return;
            if (failure && services_.log)
                services_.log("gallery: looking for installed applications failed (" + *failure +
                              "); every wheel is shown as not installed.");
            state_.applyInstalled(std::move(found));
            changed.emit();
        });
    });
}

std::optional<Wheel> GalleryBrowserModel::previewWheel() const {
    const GalleryWheel* selected = state_.selected();
    if (!selected) return std::nullopt;
    return WheelGallery::sentOn(*selected, platform::currentDesktop());
}

void GalleryBrowserModel::trySlice(int position) {
    const auto wheel = previewWheel();
    if (!wheel) return;
    const auto slice = std::find_if(wheel->slices.begin(), wheel->slices.end(),
                                    [position](const Slice& s) { return s.position == position; });
    if (slice == wheel->slices.end()) return;
    const GalleryTrial trial = rondelix::trySlice(*slice, workspace_, services_.systemActionUnavailable);
    if (trial.opensLink && services_.openLink) services_.openLink(slice->action);
    toast_.show(trial.message);
}

void GalleryBrowserModel::openSheet() {
    sheetWheel_ = state_.selected();
    changed.emit();
}

void GalleryBrowserModel::closeSheet() {
    if (!sheetWheel_) return;
    sheetWheel_ = nullptr;
    changed.emit();
}

void GalleryBrowserModel::addWheel(const GalleryWheel& gallery) {
    const std::vector<std::string> names =
        services_.wheelNames ? services_.wheelNames() : std::vector<std::string>{};
    Wheel wheel = wheelToAdd(gallery, names, workspace_);
    const std::string id = wheel.id;
    const std::string name = wheel.name;
    if (services_.appendWheel) services_.appendWheel(std::move(wheel));
    closeSheet();
    const bool kept = !services_.keepsChanges || services_.keepsChanges();
    toast_.show("Added " + curlyQuoted(name) + " to My Wheels" +
                    (kept ? "" : " until you quit: changes can't be saved"),
                id);
}

void GalleryBrowserModel::viewAdded() {
    const auto& shown = toast_.current();
    if (shown && shown->viewWheelId && services_.viewWheel) services_.viewWheel(*shown->viewWheelId);
}

void GalleryBrowserModel::undoAdded() {
    if (services_.undo) services_.undo();
    toast_.hide();
}

} // namespace rondelix
