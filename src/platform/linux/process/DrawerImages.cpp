#include "platform/linux/process/DrawerImages.h"

#include <charconv>

namespace rondelix::platform::linux_desktop {

namespace {

std::string readersArgument(QtImages::Readers readers) {
    return readers == QtImages::Readers::namedRasters ? "named" : "any";
}

} // namespace

std::optional<PixelSize> DrawerImages::declaredSize(std::string_view bytes) const {
    const auto answer = drawer_.answer({"size", readersArgument(readers_)}, bytes,
                                       SvgDrawerClient::watchdogSeconds, account_);
    if (!answer) return std::nullopt;
    // "<width> <height>"
    long long width = 0, height = 0;
    const char* end = answer->data() + answer->size();
    const auto first = std::from_chars(answer->data(), end, width);
    if (first.ec != std::errc() || first.ptr == end || *first.ptr != ' ') return std::nullopt;
    const auto second = std::from_chars(first.ptr + 1, end, height);
    if (second.ec != std::errc() || second.ptr != end || width <= 0 || height <= 0) return std::nullopt;
    return PixelSize{static_cast<double>(width), static_cast<double>(height)};
}

std::optional<std::string> DrawerImages::drawnAsPNG(std::string_view bytes, int width, int height,
                                                    const Admission& admission) const {
    if (width <= 0 || height <= 0) return std::nullopt;
    return drawer_.pngAnswer(
        {"picture", readersArgument(readers_), std::to_string(width), std::to_string(height)}, bytes,
        SvgDrawerClient::watchdogSeconds, account_, admission);
}

Fitted DrawerImages::fittedAsPNG(std::string_view bytes, int maxEdge, double largestSide,
                                 const Admission& admission, const DrawingAccount& account) const {
    if (maxEdge <= 0 || !(largestSide >= 1)) return {};
    Fitted fitted;
    fitted.png = drawer_.pngAnswer({"fitted", readersArgument(readers_), std::to_string(maxEdge),
                                    std::to_string(static_cast<long long>(largestSide))},
                                   bytes, SvgDrawerClient::watchdogSeconds, account ? account : account_,
                                   admission, &fitted.tooCostly);
    return fitted;
}

} // namespace rondelix::platform::linux_desktop
