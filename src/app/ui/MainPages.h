#pragma once

#include "catalog/MainTab.h"

#include <functional>

class QWidget;

namespace rondelix {

class AppCoordinator;

// Makes the widget of one main-window page. A row hands the page only the
// services it uses, taken from the coordinator; the window owns the widget.
using PageFactory = std::function<QWidget*(AppCoordinator&, QWidget* parent)>;

// The page for a tab; empty for a tab with no page of its own yet (the window
// shows the page's title alone).
PageFactory pageFactory(MainTab tab);

} // namespace rondelix
