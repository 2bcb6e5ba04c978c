#include "display/WarningBox.h"

#include <SDL.h>

#include <cstdlib>

void showWarningBox(const char* text, const char* caption) {
    // Without a display the message has already gone to standard error; a box
    // would only fail after a wait.
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((x11 == nullptr || x11[0] == '\0') && (wayland == nullptr || wayland[0] == '\0')) {
        return;
    }
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr);
}
