#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace rondelix::platform::linux_desktop {

// Where each system key code sits on a PC keyboard. The system's key codes
// name positions, so the evdev position decides; the keysyms serve servers
// whose key codes are not evdev positions, and keys the position table lacks.
struct X11KeyRow {
    int evdevCode;           // X key code minus 8
    std::uint16_t keyCode;   // the system's key code
    std::uint32_t keysym;    // what the key types unshifted on a US layout
    std::uint32_t altKeysym; // another keysym the same key may carry, or 0
};

namespace X11KeyTable {

std::span<const X11KeyRow> rows();

// The system's key code for an evdev position, or nothing.
std::optional<std::uint16_t> keyCodeForEvdev(int evdevCode);

// The system's key code for a keysym, or nothing.
std::optional<std::uint16_t> keyCodeForKeysym(std::uint32_t keysym);

// The row to post a system key code with, or to read what it types on the
// keyboard layout: the first row that names it.
const X11KeyRow* rowForKeyCode(std::uint16_t keyCode);

} // namespace X11KeyTable

} // namespace rondelix::platform::linux_desktop
