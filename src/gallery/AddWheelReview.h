#pragma once

#include "gallery/GalleryWheel.h"

#include <optional>
#include <string>

// What the add-wheel review sheet says and how tall it is; the sheet itself
// only lays these out.
namespace rondelix::AddWheelReview {

constexpr double maximumHeight = 780;

// 780 at most, 60 less than the screen's visible height, but never less than
// 300 (or the whole visible height on a smaller screen); 780 without a screen.
double sheetHeight(std::optional<double> visibleHeight);

// A keystroke's line shows the combination alone.
std::string shownDetail(const std::string& detail);

// "Apps · 8 actions".
std::string summaryLine(const GalleryWheel& gallery, std::size_t actionCount);

struct TrustNote {
    bool warns = false;
    std::string symbol;
    std::string text;
};

TrustNote trustNote(const Wheel& wheel);

} // namespace rondelix::AddWheelReview
