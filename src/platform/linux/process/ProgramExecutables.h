#pragma once

#include <filesystem>
#include <optional>

namespace rondelix::platform::linux_desktop {

// Rondelix ships as two executables side by side. `rondelix` is the front that
// people, desktop entries and the login item start: it links nothing but the
// C++ runtime, so a start that only brings the running instance forward costs
// next to nothing. It runs the program proper when no instance answers.
struct ProgramExecutables {
    static constexpr const char* front = "rondelix";
    static constexpr const char* program = "rondelix-app";
    // The name its desktop entry, icon and metainfo file are installed under.
    static constexpr const char* applicationId = "com.tovarel.Rondelix";

    // The executable called `name` in the folder of the one running now;
    // nothing when the running one cannot be found.
    static std::optional<std::filesystem::path> beside(const char* name);
};

} // namespace rondelix::platform::linux_desktop
