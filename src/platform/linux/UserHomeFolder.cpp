#include "platform/linux/UserHomeFolder.h"

#include "files/UserHome.h"

namespace rondelix::platform::linux_desktop {

std::filesystem::path UserHomeFolder::path() const {
    return userHomeFolder();
}

} // namespace rondelix::platform::linux_desktop
