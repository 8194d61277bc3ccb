#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace rondelix::testing {

// A fresh folder under the system's temporary folder, removed when the test ends.
struct TempHome {
    TempHome() {
        std::string pattern = (std::filesystem::temp_directory_path() / "rondelix-home-XXXXXX").string();
        path = ::mkdtemp(pattern.data()) ? pattern : throw std::runtime_error("no temporary folder");
    }
    ~TempHome() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

} // namespace rondelix::testing
