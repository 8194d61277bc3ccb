#include "util/JpegScans.h"

namespace rondelix {

namespace {

constexpr unsigned char markerLead = 0xFF;
constexpr unsigned char startOfScan = 0xDA;
constexpr unsigned char endOfImage = 0xD9;

// Codes after a 0xFF that carry no length: a stuffed 0xFF inside coded data,
// the restart markers, and the marker for temporary use.
bool standsAlone(unsigned char code) {
    return code == 0x00 || code == 0x01 || (code >= 0xD0 && code <= 0xD7);
}

} // namespace

std::size_t jpegScanCount(std::string_view bytes) {
    if (!bytes.starts_with("\xFF\xD8")) return 0;
    const auto at = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    std::size_t scans = 0;
    std::size_t next = 2;
    for (;;) {
        // Whatever is not a marker (a scan's coded data, or damage) is
        // passed over as the decoder passes over it, to the next 0xFF.
        next = bytes.find(static_cast<char>(markerLead), next);
        while (next < bytes.size() && at(next) == markerLead)
            ++next;
        if (next >= bytes.size()) return scans;
        const unsigned char code = at(next++);
        if (code == endOfImage) return scans;
        if (standsAlone(code)) continue;
        if (next + 2 > bytes.size()) return scans;
        if (code == startOfScan) ++scans;
        // A segment's length counts its own two bytes.
        next += static_cast<std::size_t>(at(next)) << 8 | at(next + 1);
    }
}

} // namespace rondelix
