#pragma once

#include "app/AppWindows.h"
#include "app/ui/PageContext.h"

#include <QString>
#include <functional>

class QWidget;

namespace rondelix {

// Makes the content of one side window for the request it opens with. A row
// hands the content only the services it uses; the window owns the widget.
using SideContentFactory =
    std::function<QWidget*(const PageContext&, const AppWindows::SideRequest&, QWidget* parent)>;

// One side window of the table: its title and how its content is made.
struct SidePage {
    QString title;
    SideContentFactory content;
};

// The side window of a kind; empty for the main window. A window whose
// content is not made yet opens as an empty shell with its title.
SidePage sidePage(AppWindows::Kind kind);

} // namespace rondelix
