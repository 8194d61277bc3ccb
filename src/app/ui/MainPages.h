#pragma once

#include "app/ui/PageContext.h"
#include "catalog/MainTab.h"

#include <functional>
#include <vector>

class QWidget;

namespace rondelix {

class WheelWorkshopPage;

// Makes the widget of one main-window page. A row hands the page only the
// services it uses, taken from the coordinator; the window owns the widget.
using PageFactory = std::function<QWidget*(const PageContext&, QWidget* parent)>;

// One page of the main window: its tab, its row in the sidebar and how it is
// made. The tab's page group places the row: the wheel pages at the top, the
// rest under "Settings".
struct MainPage {
    MainTab tab;
    const char* title;
    const char* symbol;
    // Made on entry and dropped on leaving; none for My Wheels and the Wheel
    // Gallery, which the workshop shows.
    PageFactory make;
    // Listed only while the developer page is unlocked.
    bool developerOnly = false;
};

// The pages in sidebar order, one row per tab.
const std::vector<MainPage>& mainPages();

// The one page My Wheels and the Wheel Gallery share, showing the gallery or
// the editor.
WheelWorkshopPage* makeWheelWorkshop(const PageContext& context, bool showsGallery, QWidget* parent);

} // namespace rondelix
