#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rondelix::SymbolCatalog {

// The symbols the picker offers: the built-in names that the program can
// draw, each once, in code point order. Built on first use and kept for the
// rest of the run; a first use from two threads at once builds it once.
const std::vector<std::string>& all();

// The built-in list as written, repeats included.
std::span<const std::string_view> builtInNames();

// The names that `drawable` accepts, each once, sorted code point by code
// point ("bolt" before "bolt.fill", digits before letters).
std::vector<std::string> assemble(std::span<const std::string_view> names,
                                  const std::function<bool(std::string_view)>& drawable);

// How the windows show and read out a symbol: a plain description for a name
// that speaks of another system's programs or keys ("web browser", "Alt
// key"), the name itself otherwise. What is stored stays the name.
std::string shownName(std::string_view name);

// The names a search shows: all of them for a query that is empty once white
// space and line breaks are trimmed from its ends; otherwise, in order, those
// whose shown name contains the trimmed query lower-cased. Names are compared
// as they are, descriptions in lower case.
std::vector<std::string> filter(const std::vector<std::string>& names, std::string_view query);

// "0 symbols", "1 symbol", "2 symbols".
std::string countText(std::size_t count);

} // namespace rondelix::SymbolCatalog
