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

// The run a set that make() built belongs to: the id of its first slice. No
// other run's wheels carry it, so the configuration that holds them tells
// which run put them there.
Uuid runId(const std::vector<Wheel>& made);

// True when a demo wheel among these has a slice with the run's id.
bool carriesRun(const std::vector<Wheel>& wheels, const Uuid& run);

} // namespace rondelix::DemoWheels
