#include "engine/PermissionsCheck.h"

#include <string>

namespace rondelix {

namespace {

const char* text(bool value) {
    return value ? "true" : "false";
}

} // namespace

PermissionsCheck::PermissionsCheck(platform::Permissions& permissions, platform::Log& log)
    : permissions_(permissions), log_(log) {}

void PermissionsCheck::setAccessibilityTrusted(bool value) {
    if (accessibilityTrusted_ == value) return;
    accessibilityTrusted_ = value;
    accessibilityTrustedChanged.emit(value);
}

void PermissionsCheck::setInputMonitoringTrusted(bool value) {
    if (inputMonitoringTrusted_ == value) return;
    inputMonitoringTrusted_ = value;
    inputMonitoringTrustedChanged.emit(value);
}

void PermissionsCheck::refresh() {
    const bool ax = permissions_.isAccessibilityTrusted();
    const bool listen = permissions_.canListenToInput();
    // A no from the system outweighs an earlier event: the grant may have
    // been withdrawn since.
    if (!ax) sawGlobalArmedEvent_ = false;
    if (!listen) sawGlobalListenEvent_ = false;
    setAccessibilityTrusted(sawGlobalArmedEvent_ || ax);
    setInputMonitoringTrusted(sawGlobalListenEvent_ || listen);
}

void PermissionsCheck::confirmInputMonitoring() {
    if (sawGlobalListenEvent_) return;
    sawGlobalListenEvent_ = true;
    setInputMonitoringTrusted(true);
}

void PermissionsCheck::confirmAccessibility() {
    if (sawGlobalArmedEvent_) return;
    sawGlobalArmedEvent_ = true;
    setAccessibilityTrusted(true);
}

bool PermissionsCheck::requestInputMonitoring() {
    const bool a = permissions_.requestInputAccess();
    log_.write(std::string("IOHIDRequestAccess(listen) = ") + text(a));
    const bool b = permissions_.requestListenAccess();
    log_.write(std::string("CGRequestListenEventAccess = ") + text(b));
    refresh();
    return a || b;
}

void PermissionsCheck::primeInputMonitoringRegistration(platform::Permissions& permissions,
                                                        platform::Log& log) {
    const bool created = permissions.primeListenRegistration();
    log.write(std::string("primeInputMonitoringRegistration (tap ") +
              (created ? "created" : "nil/pre-grant") + ")");
}

} // namespace rondelix
