#pragma once

#include <SDL.h>

namespace duskhall {

class SdlWindow;

// SDL has one event queue for all of a program's windows. Whichever screen pumps
// takes every event from it and hands each to the window it names, where it
// waits until that window's screen pumps; an interrupt from the terminal goes to
// every window, events of windows no screen owns are dropped.
void addRoutedWindow(SdlWindow& window);
void removeRoutedWindow(const SdlWindow& window);
void routePendingEvents();

} // namespace duskhall
