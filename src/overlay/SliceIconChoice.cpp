#include "overlay/SliceIconChoice.h"

#include "util/UrlSyntax.h"

namespace rondelix {

namespace {

bool isAutoOrSymbol(const Icon& icon, std::string_view symbol) {
    if (icon.is<Icon::Auto>()) return true;
    const auto* sf = icon.as<Icon::SfSymbol>();
    return sf && sf->name == symbol;
}

} // namespace

SliceIconChoice chooseSliceIcon(const Slice& slice) {
    const Icon& icon = slice.icon;
    if (slice.action.is<MacroAction::OpenSettings>() && isAutoOrSymbol(icon, "gearshape.fill"))
        return {SliceIconChoice::ProgramMark{}};
    if (const auto* url = slice.action.as<MacroAction::Url>(); url && isAutoOrSymbol(icon, "globe")) {
        if (auto host = faviconHost(url->url)) return {SliceIconChoice::Favicon{std::move(*host)}};
        return {SliceIconChoice::OwnIcon{}};
    }
    if (const auto* app = slice.action.as<MacroAction::App>(); app && icon.is<Icon::Auto>())
        return {SliceIconChoice::AppIcon{app->bundleIdentifier, app->path}};
    return {SliceIconChoice::OwnIcon{}};
}

std::optional<std::string> faviconHost(std::string_view link) {
    auto host = linkHost(link);
    // The favicon is asked of the address itself, without its brackets.
    if (host && host->starts_with('[')) *host = host->substr(1, host->size() - 2);
    if (host && host->empty()) return std::nullopt;
    return host;
}

std::string symbolName(const Icon::SfSymbol& symbol) {
    return symbol.name.empty() ? "questionmark" : symbol.name;
}

} // namespace rondelix
