#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rondelix {

// The last user-perceived character of the text (a whole grapheme cluster, so
// a skin-toned emoji, a flag or a joined family counts as one); empty for an
// empty text.
std::string lastCharacter(std::string_view text);

// The text without its last user-perceived character: what Backspace leaves,
// so a joined family or a skin-toned emoji goes whole rather than one code
// point at a time, which would leave a different or broken emoji behind.
std::string withoutLastCharacter(std::string_view text);

// What an emoji field holding `text` keeps after an edit: the last character
// alone, so a newly typed emoji replaces the one before and pasted text keeps
// only its end. None when the text is already that (or empty) and needs no
// change.
std::optional<std::string> oneEmojiReplacement(std::string_view text);

} // namespace rondelix
