#pragma once

namespace rondelix {

// The application object: checks that the program can and should run, builds
// the desktop platform, the coordinator and the tray icon, and runs the event
// loop until the program quits.
class RondelixApp {
  public:
    static constexpr const char* version = "0.1.0";

    // Returns the exit status.
    static int run(int argc, char** argv);
};

} // namespace rondelix
