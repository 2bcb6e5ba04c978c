#pragma once

namespace duskhall {

// The Win32 virtual-key code of a physical key named by the DOM's
// KeyboardEvent.code ("KeyA", "Digit1", "Escape", ...), or 0 for keys that have
// none. The code names a position, not a character, so the layout and Shift
// do not change it, as with the other platforms' keys.
int virtualKeyForCode(const char* code);

} // namespace duskhall
