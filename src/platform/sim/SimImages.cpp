#include "platform/sim/SimImages.h"

#include <algorithm>

namespace rondelix::platform::sim {

namespace {

constexpr std::string_view signature{"\x89PNG\r\n\x1a\n", 8};

void appendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

std::uint32_t readBigEndian(std::string_view bytes) {
    std::uint32_t value = 0;
    for (const char c : bytes.substr(0, 4))
        value = (value << 8) | static_cast<unsigned char>(c);
    return value;
}

} // namespace

std::string SimImages::pngHeader(std::uint32_t width, std::uint32_t height) {
    std::string out(signature);
    appendBigEndian(out, 13);
    out += "IHDR";
    appendBigEndian(out, width);
    appendBigEndian(out, height);
    out += std::string("\x08\x06\x00\x00\x00", 5); // 8-bit RGBA, no interlace
    appendBigEndian(out, 0);                       // checksum, unchecked here
    return out;
}

std::optional<PixelSize> SimImages::declaredSize(std::string_view bytes) const {
    if (bytes.size() < 24 || !bytes.starts_with(signature) || bytes.substr(12, 4) != "IHDR")
        return std::nullopt;
    return PixelSize{static_cast<double>(readBigEndian(bytes.substr(16))),
                     static_cast<double>(readBigEndian(bytes.substr(20)))};
}

std::optional<std::string> SimImages::drawnAsPNG(std::string_view bytes, int width, int height,
                                                 const Admission& admission) const {
    const auto admitted = admission.ask();
    if (!admitted) return std::nullopt;
    drawings.push_back({std::string(bytes), width, height});
    if (drawingFails || !declaredSize(bytes)) return std::nullopt;
    return pngHeader(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height));
}

Fitted SimImages::fittedAsPNG(std::string_view bytes, int maxEdge, double largestSide,
                              const Admission& admission, const DrawingAccount& account) const {
    const double left = account ? account->budget - account->spent : deadline;
    if (left <= 0) return {std::nullopt, true};
    const double limit = std::min(deadline, left);
    if (account) account->spent += std::min(drawingSeconds, limit);
    if (drawingSeconds > limit) return {std::nullopt, true};
    return Images::fittedAsPNG(bytes, maxEdge, largestSide, admission, account);
}

} // namespace rondelix::platform::sim
