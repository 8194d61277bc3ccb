#pragma once

#include <string>

namespace rondelix {

namespace platform {
class MainQueue;
class UserDefaults;
} // namespace platform

class AppCoordinator;

// The program's answers to the application's life: launching, reopening,
// quitting.
class AppDelegate {
  public:
    AppDelegate(platform::UserDefaults& defaults, platform::MainQueue& queue, std::string osVersionText);

    // Before anything else of the launch: the registered defaults.
    void applicationWillFinishLaunching();
    // Once the program hears its summon keys: the launch's breadcrumb, so
    // that a crash from then on is counted by the next launch, without its
    // writes holding up the start.
    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    // Answers whether the application should go on with its own handling.
    bool applicationShouldHandleReopen();

    // Set by the coordinator as the last step of its construction.
    AppCoordinator* coordinator = nullptr;

  private:
    platform::UserDefaults& defaults_;
    platform::MainQueue& queue_;
    std::string osVersionText_;
};

} // namespace rondelix
