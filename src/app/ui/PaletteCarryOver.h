#pragma once

#include <QPalette>

namespace rondelix {

// Moves the windows already built from one application palette to the next.
// Views take colours from the palette once, as they are built: a secondary
// caption's own palette, a framed field's style sheet. A colour of a
// widget's own palette that is one of the old palette's becomes the same
// role's colour in the new one, and style sheets look their palette colours
// up again, so a switch between light and dark leaves no dark text on a
// dark window.
void carryPaletteOver(const QPalette& before, const QPalette& after);

} // namespace rondelix
