#include "app/ui/SidePages.h"

#include <QString>
#include <map>

namespace rondelix {

namespace {

using Kind = AppWindows::Kind;

// One row per side window.
const std::map<Kind, SidePage>& sideTable() {
    static const std::map<Kind, SidePage> rows{
        {Kind::onboarding, {"Welcome to Rondelix", {}}},
        {Kind::shortcutSetup, {"System Action Setup", {}}},
        {Kind::howItWorks, {"How Rondelix Works", {}}},
    };
    return rows;
}

} // namespace

SidePage sidePage(Kind kind) {
    const auto& rows = sideTable();
    const auto row = rows.find(kind);
    return row == rows.end() ? SidePage{} : row->second;
}

} // namespace rondelix
