#pragma once

#include "model/Config.h"

#include <array>
#include <string_view>
#include <vector>

// The fixed wheels the scripted demo shows in place of the user's own.
namespace rondelix::DemoWheels {

inline constexpr std::array<std::string_view, 5> ids{"demo-apps", "demo-notes", "demo-media", "demo-system",
                                                     "demo-web"};

bool isDemoId(std::string_view wheelId);
bool anyDemoWheel(const std::vector<Wheel>& wheels);

// Built anew on each call; every slice gets a fresh id.
std::vector<Wheel> make();

} // namespace rondelix::DemoWheels
