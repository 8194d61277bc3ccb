#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rondelix::RecentLogCollector {

inline constexpr std::size_t maxLines = 400;
// How far back the diagnostics look.
inline constexpr double window = 600;

// A failed child's error output may hold anything the user typed; the line
// keeps its text up to the marker and says that the rest was left out.
std::string redacted(std::string_view line);

// The last 400 of the lines, each redacted, joined by line feeds.
std::string collect(const std::vector<std::string>& lines);

} // namespace rondelix::RecentLogCollector
