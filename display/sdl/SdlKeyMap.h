#pragma once

#include <SDL.h>

namespace duskhall {

// The Win32 virtual-key code of a physical key (US positions), or 0 for keys
// that have none.
int virtualKeyFor(SDL_Scancode scancode);

} // namespace duskhall
