#pragma once

#include "util/GiveUp.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix {

// The href of every <link> whose rel names an icon, in document order, as
// written.
std::vector<std::string> iconHrefs(std::string_view html);

// The first "name=" value in the tag, quoted or bare; a plain text search.
std::optional<std::string> tagAttribute(std::string_view name, std::string_view tag);

// "<svg" appears, in any case, within the first 1024 bytes.
bool looksLikeSvg(std::string_view bytes);

// The bytes of a data: link (the text begins with "data:", any case) and
// whether its declared type is an SVG drawing; none when the link is
// malformed, or when base64 is being decoded and the give-up says yes.
struct DataLinkBytes {
    std::string bytes;
    bool declaredSvg = false;
};
std::optional<DataLinkBytes> dataLinkBytes(std::string_view link, GiveUp* giveUp = nullptr);

// The text as valid UTF-8, each invalid sequence replaced by U+FFFD.
std::string repairedUtf8(std::string_view bytes);

} // namespace rondelix
