#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace rondelix {

// Makes text that came from elsewhere fit to show inside one line of our own:
// every run of line breaks, tabs, white space and characters that draw as
// nothing becomes one space; controls, invisible format characters and
// bidirectional overrides are dropped, so the text can neither hide nor
// reorder what follows it, nor push it past the cut; the ends are trimmed;
// and past limit user-visible characters it is cut and ends in "…".
// Ill-formed bytes show as U+FFFD.
std::string clippedForDisplay(std::string_view text, std::size_t limit);

// The text between first-strong isolate marks (U+2068 … U+2069), with the
// bidirectional controls it holds dropped: inside a line of our own it can
// neither be reordered by what surrounds it nor reorder any of it.
std::string isolatedForDisplay(std::string_view text);

} // namespace rondelix
