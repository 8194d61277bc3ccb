#include "gallery/AddWheelReview.h"

#include "model/ActionClassification.h"

#include <algorithm>

namespace rondelix::AddWheelReview {

namespace {

constexpr double screenMargin = 60;
constexpr double minimumHeight = 300;
constexpr std::string_view sendsPrefix = "Sends ";

} // namespace

double sheetHeight(std::optional<double> visibleHeight) {
    if (!visibleHeight) return maximumHeight;
    // Without the floor a short screen would give a negative height.
    const double floor = std::min(minimumHeight, std::max(0.0, *visibleHeight));
    return std::max(floor, std::min(maximumHeight, *visibleHeight - screenMargin));
}

std::string shownDetail(const std::string& detail) {
    if (detail.starts_with(sendsPrefix)) return detail.substr(sendsPrefix.size());
    return detail;
}

std::string summaryLine(const GalleryWheel& gallery, std::size_t actionCount) {
    return std::string(GalleryWheel::rawValue(gallery.category)) + " \u00B7 " + std::to_string(actionCount) +
           " actions";
}

TrustNote trustNote(const Wheel& wheel) {
    if (containsCode(wheel))
        return {true, "exclamationmark.triangle.fill",
                "This wheel can run code or take actions on your computer. Only add wheels from sources you "
                "trust."};
    return {false, "checkmark.seal.fill", "Official Rondelix wheel"};
}

} // namespace rondelix::AddWheelReview
