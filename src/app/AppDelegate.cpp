#include "app/AppDelegate.h"

#include "app/AppCoordinator.h"
#include "app/DefaultsKeys.h"
#include "app/LaunchBreadcrumb.h"
#include "platform/UserDefaults.h"

namespace rondelix {

AppDelegate::AppDelegate(platform::UserDefaults& defaults, platform::MainQueue& queue,
                         std::string osVersionText)
    : defaults_(defaults), queue_(queue), osVersionText_(std::move(osVersionText)) {}

void AppDelegate::applicationWillFinishLaunching() {
    defaults_.registerDefaults({{std::string(DefaultsKeys::pressAndHoldEnabled.name), false}});
}

void AppDelegate::applicationDidFinishLaunching() {
    LaunchBreadcrumb::recordLaunchStart(defaults_, queue_, osVersionText_);
}

void AppDelegate::applicationWillTerminate() {
    LaunchBreadcrumb::markSurvived(defaults_);
    if (coordinator) coordinator->applicationWillTerminate();
}

bool AppDelegate::applicationShouldHandleReopen() {
    if (!coordinator) return true;
    coordinator->handleReopen();
    return false;
}

} // namespace rondelix
