#pragma once

#include <QIcon>
#include <optional>
#include <string>

namespace rondelix {

// The picture of a custom icon file's bytes; none for bytes that do not
// decode as a raster picture (a vector drawing is never read), or that claim
// a size far beyond any stored icon (refused before decoding, so a crafted
// header cannot make us allocate gigabytes).
std::optional<QIcon> decodeCustomIcon(const std::string& bytes);

} // namespace rondelix
