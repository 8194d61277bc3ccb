#pragma once

#include "model/Color.h"

class QPushButton;

namespace rondelix {

// A window's main button: filled in the accent, deepened as far as its bold
// title needs to read on it; faded while disabled; ringed when focused.
void makeProminent(QPushButton& button, const Color& accent);

} // namespace rondelix
