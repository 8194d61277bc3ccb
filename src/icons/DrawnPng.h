#pragma once

#include <cstdint>
#include <string_view>

namespace rondelix {

// Whether the bytes are a PNG of the kind the drawer writes, told from the
// chunks' headers alone, without inflating anything: the header chunk first,
// declaring a side of 1 to `largestSide` pixels; then only pixel data, an
// optional palette with its transparency and the pixel density; the end
// chunk last. Such a file costs a decoder no more than its pixels, where any
// other chunk (a compressed text, a colour profile) may inflate to gigabytes.
// One pass over the chunk headers, linear in the bytes.
bool isDrawnPng(std::string_view bytes, std::uint32_t largestSide);

} // namespace rondelix
