#pragma once

#include <cstddef>
#include <string_view>

namespace rondelix {

// A progressive JPEG is coded in scans, and each scan makes a decoder walk
// all of the picture's blocks once more, whatever few bytes the scan takes:
// a file can repeat one tens of thousands of times and cost minutes. The
// files cameras and programs write have from one scan to a few dozen; one
// with more than this is not decoded.
inline constexpr std::size_t maxJpegScans = 100;

// The scans of a JPEG's bytes, counted as a decoder meets them: from the
// start of image to its end, skipping what lies between markers as it
// does. Zero for bytes that are no JPEG. One pass, linear in the bytes.
std::size_t jpegScanCount(std::string_view bytes);

} // namespace rondelix
