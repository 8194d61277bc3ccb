#include "app/ui/MainPages.h"

#include <map>

namespace rondelix {

namespace {

// One row per page: the tab and how its page is made.
const std::map<MainTab, PageFactory>& pageTable() {
    static const std::map<MainTab, PageFactory> rows{};
    return rows;
}

} // namespace

PageFactory pageFactory(MainTab tab) {
    const auto& rows = pageTable();
    const auto row = rows.find(tab);
    return row == rows.end() ? PageFactory{} : row->second;
}

} // namespace rondelix
