#pragma once

#include <string>
#include <string_view>

namespace rondelix {

// A name or label as it is entered, pasted text included: without control
// characters (C0, DEL and C1), which would be kept and drawn as boxes. Where
// the text may hold line breaks they stay, a carriage return and the Unicode
// line and paragraph separators each counting as one; elsewhere they go too.
// Format characters (joiners, marks) and ill-formed bytes are kept.
std::string enteredText(std::string_view text, bool keepsLineBreaks);

} // namespace rondelix
