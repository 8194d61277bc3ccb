#pragma once

#include "app/ui/PageContext.h"
#include "catalog/MainTab.h"

#include <functional>

class QWidget;

namespace rondelix {

class WheelWorkshopPage;

// Makes the widget of one main-window page. A row hands the page only the
// services it uses, taken from the coordinator; the window owns the widget.
using PageFactory = std::function<QWidget*(const PageContext&, QWidget* parent)>;

// The page for a tab; empty for the two tabs the workshop shows.
PageFactory pageFactory(MainTab tab);

// The one page My Wheels and the Wheel Gallery share, showing the gallery or
// the editor.
WheelWorkshopPage* makeWheelWorkshop(const PageContext& context, bool showsGallery, QWidget* parent);

} // namespace rondelix
