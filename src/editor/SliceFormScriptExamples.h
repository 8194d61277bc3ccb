#pragma once

#include <span>
#include <string_view>

namespace rondelix::SliceFormScriptExamples {

// One entry of the script input's "Examples & help…" menu: an example
// replaces the whole script; a link opens in the browser and leaves the
// script alone.
struct Item {
    enum class Kind { example, link };
    Kind kind;
    std::string_view title;
    std::string_view text; // the script, or the link's address
};

struct Section {
    std::string_view title;
    std::span<const Item> items;
};

// Seven sections in menu order. Every example runs with the tools of a
// standard desktop install.
std::span<const Section> sections();

} // namespace rondelix::SliceFormScriptExamples
