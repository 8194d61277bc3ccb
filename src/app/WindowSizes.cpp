#include "app/WindowSizes.h"

#include "platform/UserDefaults.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace rondelix {

namespace {

std::string sizeKey(PageGroup group) {
    return std::string("WindowSize.") + (group == PageGroup::wheels ? "wheels" : "settings");
}

std::optional<double> finiteNumber(const nlohmann::json& value) {
    if (!value.is_number()) return std::nullopt;
    const double number = value.get<double>();
    if (!std::isfinite(number)) return std::nullopt;
    return number;
}

} // namespace

PageGroup pageGroup(MainTab tab) {
    return tab == MainTab::wheels || tab == MainTab::gallery ? PageGroup::wheels : PageGroup::settings;
}

ContentSize minimumContentSize(PageGroup group) {
    return group == PageGroup::wheels ? ContentSize{1080, 600} : ContentSize{480, 440};
}

double defaultContentWidth(PageGroup group) {
    return group == PageGroup::wheels ? 1440 : 880;
}

std::optional<ContentSize> savedWindowSize(const platform::UserDefaults& defaults, PageGroup group) {
    const auto value = defaults.stored(sizeKey(group));
    if (!value || !value->is_array() || value->size() != 2) return std::nullopt;
    const auto width = finiteNumber((*value)[0]);
    const auto height = finiteNumber((*value)[1]);
    if (!width || !height || *width < 400 || *height < 360) return std::nullopt;
    return ContentSize{*width, *height};
}

void saveWindowSize(platform::UserDefaults& defaults, ContentSize size, PageGroup group) {
    defaults.store(sizeKey(group), nlohmann::json::array({size.width, size.height}));
}

void forgetWindowSizes(platform::UserDefaults& defaults) {
    platform::UserDefaults::Batch batch(defaults);
    defaults.erase(sizeKey(PageGroup::wheels));
    defaults.erase(sizeKey(PageGroup::settings));
}

ContentSize mainContentSize(const platform::UserDefaults& defaults, PageGroup group) {
    const auto saved = savedWindowSize(defaults, group);
    const double width = saved ? saved->width : defaultContentWidth(group);
    return {std::max(width, minimumContentSize(group).width), mainContentHeight};
}

FittedSize fitToRoom(ContentSize wanted, ContentSize minimum, ContentSize room) {
    const auto fit = [](double value, double limit) { return limit > 0 ? std::min(value, limit) : value; };
    FittedSize fitted{{fit(wanted.width, room.width), fit(wanted.height, room.height)},
                      {fit(minimum.width, room.width), fit(minimum.height, room.height)}};
    fitted.shrunk = !(fitted.size == wanted);
    return fitted;
}

} // namespace rondelix
