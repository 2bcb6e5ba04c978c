#pragma once

#include <SDL.h>

namespace duskhall {

// The dots per inch X states for the window's screen; 0 when the window is not on
// X or X does not say. libX11 is taken from the process (SDL's X11 driver has
// loaded it), so the library gains no link dependency on it.

// The desktop's Xft.dpi setting, what toolkits scale by.
float x11XftDpi(SDL_Window* window);
// The screen's width in pixels against its width in millimetres.
float x11ScreenDpi(SDL_Window* window);

// The Xft.dpi entry of an X resource string ("Xft.dpi:\t192\n..."), 0 if none.
float xftDpiOf(const char* resources);

} // namespace duskhall
