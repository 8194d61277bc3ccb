#pragma once

#include "platform/Workspace.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

// The applications a chooser lists for a search: those whose name or
// identifier holds the text (letter case aside), ordered by name.
std::vector<platform::ApplicationEntry>
matchingApplications(std::vector<platform::ApplicationEntry> applications, std::string_view search);

// The identifier a file picked in place of a listed application binds: a
// desktop entry of an application gives its id (the file name without
// ".desktop"); anything else binds nothing.
std::optional<std::string> identifierForFile(const std::string& path, const platform::Workspace& workspace);

// The name the desktop's menus give an installed application, as the wheel
// review names it: its entry's name, else its file's; nothing when the
// identifier finds no application.
std::optional<std::string> installedAppName(const std::string& identifier,
                                            const platform::Workspace& workspace);

// How the editor names the application a wheel is bound to.
std::string boundAppName(const std::optional<std::string>& identifier, const platform::Workspace& workspace);

} // namespace rondelix
