#pragma once

#include <filesystem>

namespace rondelix {

// $HOME, or the home folder the password database gives when it is unset, or
// the working folder when neither is known. Code that has no HomeFolder at
// hand uses this, so that it agrees with the desktop's.
std::filesystem::path userHomeFolder();

} // namespace rondelix
