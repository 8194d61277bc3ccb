#pragma once

#include "model/Config.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace rondelix {

// Which picture a slice shows, decided from its icon and its action. Where a
// looked-up picture is missing the slice falls back to drawing its own icon.
struct SliceIconChoice {
    // The program's own mark, tinted like the label.
    struct ProgramMark {
        friend bool operator==(const ProgramMark&, const ProgramMark&) = default;
    };
    // The site's favicon when it has arrived.
    struct Favicon {
        std::string host;
        friend bool operator==(const Favicon&, const Favicon&) = default;
    };
    // The application's own icon.
    struct AppIcon {
        std::optional<std::string> bundleIdentifier;
        std::optional<std::string> path;
        friend bool operator==(const AppIcon&, const AppIcon&) = default;
    };
    // The slice's icon value alone.
    struct OwnIcon {
        friend bool operator==(const OwnIcon&, const OwnIcon&) = default;
    };

    std::variant<ProgramMark, Favicon, AppIcon, OwnIcon> value;
    friend bool operator==(const SliceIconChoice&, const SliceIconChoice&) = default;
};

SliceIconChoice chooseSliceIcon(const Slice& slice);

// The host of a link as linkHost finds it, an IPv6 address without its
// brackets, as a request for the site's icon names it.
std::optional<std::string> faviconHost(std::string_view link);

// The symbol a symbol icon names; an empty name shows a question mark.
std::string symbolName(const Icon::SfSymbol& symbol);

} // namespace rondelix
