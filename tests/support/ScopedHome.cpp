#include "support/ScopedHome.h"

#include <cstdlib>

namespace rondelix::testing {

ScopedHome::ScopedHome(const std::filesystem::path& home) {
    const std::string places[] = {home.string(), (home / ".config").string(),
                                  (home / ".local/share").string(), (home / ".cache").string(),
                                  (home / ".local/state").string()};
    for (std::size_t i = 0; i < std::size(variables); ++i) {
        const char* old = std::getenv(variables[i]);
        saved_.emplace_back(variables[i], old ? std::optional<std::string>(old) : std::nullopt);
        ::setenv(variables[i], places[i].c_str(), 1);
    }
}

ScopedHome::~ScopedHome() {
    for (const auto& [name, value] : saved_)
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
}

} // namespace rondelix::testing
