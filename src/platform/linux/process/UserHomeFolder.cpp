#include "platform/linux/process/UserHomeFolder.h"

#include "files/UserHome.h"
#include "platform/XdgFolders.h"

namespace rondelix::platform::linux_desktop {

std::filesystem::path UserHomeFolder::path() const {
    return userHomeFolder();
}

std::filesystem::path UserHomeFolder::configFolder() const {
    return programConfigFolder(path());
}

} // namespace rondelix::platform::linux_desktop
