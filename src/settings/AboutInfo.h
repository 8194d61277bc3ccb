#pragma once

#include <string>
#include <string_view>

namespace rondelix::AboutInfo {

// The one address support mail goes to.
inline constexpr std::string_view supportAddress = "support@rondelix.app";

// The program does not update itself: new versions come with the system's
// other packages. The pages say so where an update check would be.
inline constexpr std::string_view updatesFromSystem = "Updates come from your system's package manager.";

// The version as the About page and the diagnostics show it: "?" when the
// program carries none.
std::string versionText(std::string_view version);

// The feedback mail: to the support address, the subject naming the
// version, the body opening with the system's name and a blank line.
std::string feedbackLink(std::string_view version, std::string_view systemName);

} // namespace rondelix::AboutInfo
