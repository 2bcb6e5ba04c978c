#pragma once

#include "display/WindowGeometry.h"

#include <cstdint>

namespace duskhall {

// Platforms without a system menu offer its entries as keyboard shortcuts:
// Ctrl+1, Ctrl+2, Ctrl+4 and Ctrl+8 choose the zoom, Ctrl+F switches between
// windowed and fullscreen and Ctrl+C centres the window. Returns the menu command
// a first key-down of virtualKey stands for when that entry is on the menu, else 0.
struct ShortcutKey {
    int virtualKey = 0;
    bool ctrl = false;
    bool alt = false;
    bool repeat = false;
};

std::int32_t menuShortcut(const ShortcutKey& key, const MenuList& entries);

} // namespace duskhall
