#pragma once

#include <cstdint>

namespace duskhall {

// The Win32 virtual-key code of a physical key named by the DOM's
// KeyboardEvent.code ("KeyA", "Digit1", "Escape", ...), or 0 for keys that have
// none. The code names a position, not a character, so the layout and Shift
// do not change it, as with the other platforms' keys.
int virtualKeyForCode(const char* code);

// The modifier bits (Modifiers) after a key event: code's own side set or
// cleared, and every modifier the event's flags say is up cleared, so a
// release missed while the page had no focus does not stick.
std::uint32_t trackModifiers(std::uint32_t bits, const char* code, bool down, bool shift, bool ctrl,
                             bool alt, bool meta);

// The character a keydown's `key` types, or 0: `key` is one character for
// those, a name ("Enter", "Dead", "Process") for the others. Ctrl or Meta
// without Alt make a shortcut, not text (Ctrl+Alt is AltGr on Windows).
std::uint32_t typedCodePoint(const char* key, bool ctrl, bool alt, bool meta);

// A wheel event's distance in 1/120 notches, as wheel messages count it: a
// notch is 100 pixels (Chromium's), 3 lines (Firefox's) or 1 page (deltaMode
// 0, 1, 2). Positive down or right, as the DOM's deltas are.
int wheelDistance(double delta, unsigned long deltaMode);

} // namespace duskhall
