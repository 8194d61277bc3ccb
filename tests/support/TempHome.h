#pragma once

#include "store/ConfigPaths.h"

#include <filesystem>
#include <string>

namespace rondelix::testing {

// A fresh home folder under the system's temporary folder, removed with
// everything in it when the test ends.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::filesystem::path& path() const { return path_; }
    ConfigPaths configPaths() const { return ConfigPaths::under(path_); }

private:
    std::filesystem::path path_;
};

// Whole-file helpers for tests; an unreadable file reads as "<unreadable>".
std::string readText(const std::filesystem::path& file);
void writeText(const std::filesystem::path& file, const std::string& text);

} // namespace rondelix::testing
