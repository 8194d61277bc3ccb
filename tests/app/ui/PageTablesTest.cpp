#include "app/WindowSizes.h"
#include "app/ui/MainPages.h"
#include "app/ui/SidePages.h"
#include "catalog/WheelActionTarget.h"
#include "icons/SymbolGlyphs.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace rondelix {
namespace {

// A tab without its row would have no sidebar entry and no page; a settings
// row without a factory would show nothing. The wheel pages come from the
// workshop instead.
TEST(MainPages, EveryTabHasOneRowWithItsPageAndADrawnSymbol) {
    const auto& rows = mainPages();
    EXPECT_EQ(rows.size(), allMainTabs.size());
    for (const MainTab tab : allMainTabs) {
        const auto same = [tab](const MainPage& page) { return page.tab == tab; };
        ASSERT_EQ(std::count_if(rows.begin(), rows.end(), same), 1) << static_cast<int>(tab);
        const MainPage& row = *std::find_if(rows.begin(), rows.end(), same);
        EXPECT_EQ(static_cast<bool>(row.make), pageGroup(tab) == PageGroup::settings) << row.title;
        const auto glyph = symbolGlyph(row.symbol);
        EXPECT_TRUE(glyph && glyph != symbolGlyph("questionmark")) << row.title << ": " << row.symbol;
    }
}

// A slice that opens a page shows the page as the sidebar does.
TEST(MainPages, APageTargetShowsTheTitleAndSymbolOfItsSidebarRow) {
    for (const WheelActionTarget& target : WheelActionTarget::all()) {
        const auto* tab = std::get_if<MainTab>(&target.opens);
        if (!tab) continue;
        const auto& rows = mainPages();
        const auto row =
            std::find_if(rows.begin(), rows.end(), [tab](const MainPage& page) { return page.tab == *tab; });
        ASSERT_NE(row, rows.end()) << target.id;
        EXPECT_EQ(target.displayName, std::string(row->title)) << target.id;
        EXPECT_EQ(target.symbol, std::string(row->symbol)) << target.id;
    }
}

// The coordinator opens, reopens and counts the side windows by the kinds it
// knows; each must have its window in the table.
TEST(SidePages, EverySideKindHasItsTitledWindow) {
    for (const AppWindows::Kind kind : AppWindows::sideKinds) {
        const SidePage page = sidePage(kind);
        EXPECT_FALSE(page.title.isEmpty()) << static_cast<int>(kind);
        EXPECT_TRUE(page.content) << static_cast<int>(kind);
    }
}

} // namespace
} // namespace rondelix
