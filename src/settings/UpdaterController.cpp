#include "settings/UpdaterController.h"

#include "platform/MainQueue.h"
#include "util/Overloaded.h"

#include <algorithm>
#include <vector>

namespace rondelix {

UpdaterController::UpdaterController(platform::Updater& updater, platform::MainQueue& queue)
    : updater_(updater), queue_(queue) {
    updater_.start(*this, [this, alive = lifetime_.watch()] {
        if (!alive) return;
        onMainQueue([](UpdaterController& c) { c.setCanStandardCheck(c.updater_.canCheckForUpdates()); });
    });
}

UpdaterController::~UpdaterController() = default;

void UpdaterController::onMainQueue(std::function<void(UpdaterController&)> step) {
    queue_.post([this, alive = lifetime_.watch(), step = std::move(step)] {
        if (alive) step(*this);
    });
}

void UpdaterController::setStatus(Status status) {
    if (status_ == status) return;
    status_ = std::move(status);
    changed.emit(Property::status);
}

void UpdaterController::setCanStandardCheck(bool canCheck) {
    if (canStandardCheck_ == canCheck) return;
    canStandardCheck_ = canCheck;
    changed.emit(Property::canStandardCheck);
}

void UpdaterController::setScheduledUpdatePending(std::optional<std::string> version) {
    if (scheduledUpdatePending_ == version) return;
    scheduledUpdatePending_ = std::move(version);
    changed.emit(Property::scheduledUpdatePending);
}

std::string UpdaterController::statusText() const {
    return std::visit(
        Overloaded{
            [](const UpToDate& s) { return "Up to date (" + s.version + ")"; },
            [](const UpdateAvailable& s) { return "Update available: " + s.version; },
            [](const Installing& s) { return "Installing " + s.version + "…  (follow the Sparkle window)"; },
            [](const Failed& s) { return "Check failed: " + s.message; },
            [](const Idle&) { return std::string("Not checked yet"); },
            [](const Checking&) { return std::string("Checking…"); },
        },
        status_);
}

bool UpdaterController::canCheck() const {
    return updater_.canCheckForUpdates() && !std::holds_alternative<Checking>(status_) &&
           !std::holds_alternative<Installing>(status_);
}

std::string UpdaterController::currentVersion() const {
    return updater_.currentVersion().value_or("?");
}

void UpdaterController::didFindValidUpdate(const std::string& displayVersion) {
    foundVersion_ = displayVersion;
    if (!std::holds_alternative<Installing>(status_)) setStatus(UpdateAvailable{displayVersion});
}

void UpdaterController::didNotFindUpdate() {
    foundVersion_.reset();
    setStatus(UpToDate{currentVersion()});
}

void UpdaterController::didAbortWithError(const platform::UpdateError& error) {
    if (std::holds_alternative<Installing>(status_)) {
        // The installation was cancelled or failed; the update stays offered.
        setStatus(UpdateAvailable{foundVersion_.value_or(currentVersion())});
    } else if (std::holds_alternative<Checking>(status_)) {
        setStatus(Failed{detail(error)});
    }
}

void UpdaterController::willShowUpdate(bool userInitiated, const std::string& displayVersion) {
    onMainQueue([userInitiated, displayVersion](UpdaterController& c) {
        if (!userInitiated) c.setScheduledUpdatePending(displayVersion);
    });
}

void UpdaterController::didReceiveUserAttention(const std::string&) {
    onMainQueue([](UpdaterController& c) { c.setScheduledUpdatePending(std::nullopt); });
}

std::string UpdaterController::detail(const platform::UpdateError& error) {
    std::vector<std::string> texts;
    for (const platform::UpdateError* current = &error; current; current = current->underlying.get()) {
        if (!current->description.empty() &&
            std::find(texts.begin(), texts.end(), current->description) == texts.end())
            texts.push_back(current->description);
    }
    if (texts.empty()) return error.description;
    std::string joined;
    for (const auto& text : texts)
        joined += (joined.empty() ? "" : "; ") + text;
    return joined;
}

} // namespace rondelix
