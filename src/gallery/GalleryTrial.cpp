#include "gallery/GalleryTrial.h"

#include "catalog/SystemAction.h"
#include "gallery/WheelManifest.h"
#include "model/KeyComboText.h"
#include "util/CurlyQuoted.h"
#include "util/GraphemeClusters.h"
#include "util/UrlSyntax.h"
#include "util/Utf8.h"

#include <algorithm>

namespace rondelix {

namespace {

constexpr std::size_t toastTextLength = 20;

std::string withSpacesForLineFeeds(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

} // namespace

std::string shortenedForToast(const std::string& text) {
    const std::u32string scalars = utf8::decode(withSpacesForLineFeeds(text));
    std::size_t end = 0;
    std::size_t characters = 0;
    while (end < scalars.size() && characters < toastTextLength) {
        end = nextGraphemeBoundary(scalars, end);
        ++characters;
    }
    if (end == scalars.size()) return utf8::encode(scalars);
    return utf8::encode(std::u32string_view(scalars).substr(0, end)) + "\u2026";
}

GalleryTrial trySlice(const Slice& slice, const platform::Workspace& workspace,
                      const SystemActionUnavailable& unavailable) {
    const std::string name = withSpacesForLineFeeds(slice.label);
    const MacroAction& action = slice.action;
    if (const auto* text = action.as<MacroAction::Text>())
        return {"Types " + curlyQuoted(shortenedForToast(text->text)) + " into the app you're in"};
    if (const auto* link = action.as<MacroAction::Url>())
        return {"Opening " + linkHost(link->url).value_or(link->url) + "\u2026", true};
    if (const auto* system = action.as<MacroAction::SystemAction>()) {
        const auto row = SystemAction::find(system->id);
        const std::string quoted = curlyQuoted(row ? row->displayName : name);
        if (row && unavailable && unavailable(system->id))
            return {quoted + " isn't available on this desktop"};
        return {quoted + " runs once you add this wheel"};
    }
    if (const auto* keystroke = action.as<MacroAction::Keystroke>())
        return {"Sends " + KeyComboText::displayString(keystroke->combo) + " to the app you're in"};
    return {WheelManifest::describe(action, workspace).detail};
}

} // namespace rondelix
