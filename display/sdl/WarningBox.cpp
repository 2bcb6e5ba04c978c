#include <duskhall/WarningBox.h>

#include "display/sdl/DisplayProbe.h"

#include <SDL.h>

namespace duskhall {

void showWarningBox(const char* text, const char* caption) {
    // Without a display the message has already gone to standard error; a box
    // would only fail after a wait.
    if (!displayAvailable()) {
        return;
    }
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr);
}

} // namespace duskhall
