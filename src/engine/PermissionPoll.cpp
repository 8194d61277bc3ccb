#include "engine/PermissionPoll.h"

#include "engine/PermissionsCheck.h"

namespace rondelix {

PermissionPoll::PermissionPoll(platform::MainQueue& queue, PermissionsCheck& permissions,
                               std::function<void()> nudgeListenTap)
    : queue_(queue), permissions_(permissions), nudgeListenTap_(std::move(nudgeListenTap)) {}

PermissionPoll::~PermissionPoll() {
    stop();
}

void PermissionPoll::start() {
    stop();
    permissions_.refresh();
    if (bothGranted())
        finish();
    else
        scheduleTick();
}

void PermissionPoll::stop() {
    pending_.cancel();
    pending_ = {};
}

bool PermissionPoll::bothGranted() const {
    return permissions_.accessibilityTrusted() && permissions_.inputMonitoringTrusted();
}

// The step runs only while its handle is current, so a poll stopped or
// restarted meanwhile leaves no stray tick behind.
void PermissionPoll::scheduleTick() {
    pending_ = queue_.after(interval, [this] { tick(); });
}

void PermissionPoll::tick() {
    pending_ = {};
    nudgeListenTap_();
    permissions_.refresh();
    if (bothGranted())
        finish();
    else
        scheduleTick();
}

void PermissionPoll::finish() {
    nudgeListenTap_();
}

} // namespace rondelix
