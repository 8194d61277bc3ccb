#pragma once

#include <QIcon>
#include <optional>
#include <string>

namespace rondelix {

// The picture of a custom icon file's bytes; none for bytes that are not a
// PNG as the drawer writes it (isDrawnPng), told before anything is
// inflated, so that no file in the icons folder costs the window more than
// an icon's pixels, or that do not decode.
std::optional<QIcon> decodeCustomIcon(const std::string& bytes);

} // namespace rondelix
