#pragma once

namespace rondelix {

// The application object: checks that the program can and should run, builds
// the desktop platform, the coordinator and the tray icon, and runs the event
// loop until the program quits.
class RondelixApp {
  public:
    // The version the build gives the project.
    static constexpr const char* version = RONDELIX_VERSION;

    // Returns the exit status.
    static int run(int argc, char** argv);
};

} // namespace rondelix
