#include "settings/AboutInfo.h"

#include "actions/LinkText.h"

namespace rondelix::AboutInfo {

std::string versionText(std::string_view version) {
    return version.empty() ? "?" : std::string(version);
}

std::string feedbackLink(std::string_view version, std::string_view systemName) {
    return LinkText::mailtoLink(supportAddress,
                                {{"subject", "Rondelix " + versionText(version) + " feedback"},
                                 {"body", "OS: " + std::string(systemName) + "\n\n"}});
}

} // namespace rondelix::AboutInfo
