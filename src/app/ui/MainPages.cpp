#include "app/ui/MainPages.h"

#include "app/AppCoordinator.h"
#include "app/SettingsPorts.h"
#include "settings/ui/AppearancePage.h"
#include "settings/ui/WheelBehaviorPage.h"

#include <map>

namespace rondelix {

namespace {

// One row per page: the tab and how its page is made.
const std::map<MainTab, PageFactory>& pageTable() {
    static const std::map<MainTab, PageFactory> rows{
        {MainTab::appearance,
         [](AppCoordinator& c, QWidget* parent) -> QWidget* {
             return new AppearancePage(c.configStore(), c.overlayController(), testWheelControl(c), parent);
         }},
        {MainTab::wheelBehavior,
         [](AppCoordinator& c, QWidget* parent) -> QWidget* {
             return new WheelBehaviorPage(c.configStore(), parent);
         }},
    };
    return rows;
}

} // namespace

PageFactory pageFactory(MainTab tab) {
    const auto& rows = pageTable();
    const auto row = rows.find(tab);
    return row == rows.end() ? PageFactory{} : row->second;
}

} // namespace rondelix
