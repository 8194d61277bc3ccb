#pragma once

#include <string_view>

namespace rondelix {

// The text without white space and line breaks at either end. Ill-formed
// bytes count as text, never as white space.
std::string_view trimmedWhitespace(std::string_view text);

// The one rule for every place that reads a link (what the review judges,
// what a wheel's description names, whose icon is fetched, what is opened):
// the text without anything invisible at either end — white space, line
// breaks, controls, format characters such as the byte-order mark, zero-width
// and bidirectional marks, and the blank fillers and variation selectors
// that show nothing. All readers see the same scheme, so what is opened is
// exactly what was judged. Ill-formed bytes count as text.
std::string_view trimmedLink(std::string_view text);

} // namespace rondelix
