#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace rondelix {

// Strips a drawing of everything that could reach outside it before it is
// drawn: the document type and its entity declarations, style sheet
// instructions, every link that does not point inside the drawing or carry
// its data inline, @import rules and url() references to anything but an
// inline data or an element of the drawing. An inline picture that
// acceptsPicture refuses is dropped too.
std::string cleanedSvg(std::string_view svg,
                       const std::function<bool(std::string_view bytes)>& acceptsPicture);

} // namespace rondelix
