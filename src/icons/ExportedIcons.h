#pragma once

#include "model/Config.h"

#include <filesystem>
#include <map>
#include <string>

namespace rondelix {

// Custom icon file name to the Base64 text of its bytes: the pictures an
// exported configuration or shared wheel carries so that it is whole on its own.
using ExportedIcons = std::map<std::string, std::string>;

// Adds the picture of every slice of the wheel (a copy being exported) to the
// map, read from the icons folder. A slice whose name is unusable or whose
// file cannot be read stays as it is and adds nothing; a picture under a name
// that is not "<UUID>.png" is carried under a fresh one, and the slice in the
// copy is pointed at it, so the receiver accepts it.
void embedIcons(Wheel& wheel, const std::filesystem::path& iconsFolder, ExportedIcons& icons);

} // namespace rondelix
