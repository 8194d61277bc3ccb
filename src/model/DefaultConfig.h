#pragma once

#include "model/Config.h"

#include <string>
#include <string_view>
#include <vector>

// The bindings and wheels the program ships with. Every call builds fresh
// values: each binding and slice gets a new random id, so a reset to defaults
// never shares ids with what it replaces.
namespace rondelix::DefaultConfig {

// The link on the main wheel's position 2 slice. Older main wheels carried the
// same link, and the upgrade that recognises them compares against these.
inline constexpr std::string_view makerSiteLabel = "tovarel.com";
inline constexpr std::string_view makerSiteUrl = "https://tovarel.com";

// The main wheel's greeting: says hi through whichever speech tool is
// installed, then shows a desktop notification.
std::string sayHiScript();

// The music wheel's "Current Song": the title and artist of what the
// desktop's media player is playing, in a notification; fails when no player
// has a song.
std::string currentSongScript();

// Option + Command (enabled), then Option, Shift and the middle button (off).
std::vector<SummonBinding> defaultBindings();

Wheel mainWheel();
Wheel appsWheel();
Wheel controlCenterWheel();
Wheel essentialsWheel();

// Only the upgrades of older files use the three below.
Wheel musicWheel();
// The music wheel as version 18 shipped it, to recognise one left unedited.
Wheel legacyMusicWheelV18();
// The wheels older configurations lack, in the order they are appended.
std::vector<Wheel> addedWheels();

// The four wheels of a fresh configuration: main, apps, control center, essentials.
std::vector<Wheel> factoryWheels();
// The whole factory default configuration, at the current version.
Config factoryConfig();

} // namespace rondelix::DefaultConfig
