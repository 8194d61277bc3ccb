#pragma once

#include "gallery/GalleryWheel.h"

#include <string>
#include <vector>

namespace rondelix::platform {
class Workspace;
} // namespace rondelix::platform

namespace rondelix {

// The name itself when no wheel has it, else the name with the first free
// number from 2 on ("Slack 2", "Slack 3").
std::string uniqueWheelName(const std::string& name, const std::vector<std::string>& existing);

// A gallery wheel as it joins the user's wheels: fresh ids, this desktop's
// keys, a name no other wheel has, and for an application's wheel the first
// of its applications found installed (else the first listed).
Wheel wheelToAdd(const GalleryWheel& gallery, const std::vector<std::string>& existingNames,
                 const platform::Workspace& workspace);

} // namespace rondelix
