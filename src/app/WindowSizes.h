#pragma once

#include "catalog/MainTab.h"

#include <optional>

namespace rondelix {

namespace platform {
class UserDefaults;
}

// A window's content size in points.
struct ContentSize {
    double width = 0;
    double height = 0;

    friend bool operator==(const ContentSize&, const ContentSize&) = default;
};

// The main window sizes itself by the group of the page it shows: the wheel
// pages want room for a wheel beside the editor, the settings pages do not.
enum class PageGroup { wheels, settings };

PageGroup pageGroup(MainTab tab);
ContentSize minimumContentSize(PageGroup group);
double defaultContentWidth(PageGroup group);
// Every page opens 800 points tall; only the width is remembered.
inline constexpr double mainContentHeight = 800;

// The size the user last gave the group's window, when what is stored is
// exactly two finite numbers with a width of at least 400 and a height of at
// least 360. Anything else counts as nothing saved.
std::optional<ContentSize> savedWindowSize(const platform::UserDefaults& defaults, PageGroup group);
void saveWindowSize(platform::UserDefaults& defaults, ContentSize size, PageGroup group);
void forgetWindowSizes(platform::UserDefaults& defaults);

// The content size the window takes for the group: the saved width, else the
// default, raised to the group's minimum; always 800 tall.
ContentSize mainContentSize(const platform::UserDefaults& defaults, PageGroup group);

// The size and minimum a window gets on a screen whose usable area leaves
// `room` for its content. A window larger than the room is fitted to it, even
// below its minimum, so that no part of it is out of reach.
struct FittedSize {
    ContentSize size;
    ContentSize minimum;
    bool shrunk = false;
};
FittedSize fitToRoom(ContentSize wanted, ContentSize minimum, ContentSize room);

} // namespace rondelix
