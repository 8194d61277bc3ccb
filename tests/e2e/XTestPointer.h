// Pointer moves as remote desktops and software KVMs make them: absolute
// positions posted through XTest, which no mouse's raw motion accompanies.
// Apart from the rig, whose toolkit headers clash with Xlib's.

#pragma once

namespace rondelix::e2e {

// Moves the pointer of the DISPLAY's server to (x, y); false when the
// server cannot be reached or lacks XTest.
bool xtestMovePointer(int x, int y);

} // namespace rondelix::e2e
