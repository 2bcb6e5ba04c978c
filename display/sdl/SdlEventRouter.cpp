#include "display/sdl/SdlEventRouter.h"

#include "display/sdl/SdlWindow.h"

#include <algorithm>
#include <vector>

namespace duskhall {

namespace {

std::vector<SdlWindow*>& routedWindows() {
    static std::vector<SdlWindow*> windows;
    return windows;
}

// The window an event belongs to; 0 for events of no window.
Uint32 windowOf(const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return event.key.windowID;
    case SDL_MOUSEMOTION:
        return event.motion.windowID;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        return event.button.windowID;
    case SDL_WINDOWEVENT:
        return event.window.windowID;
    case SDL_MOUSEWHEEL:
        return event.wheel.windowID;
    case SDL_TEXTINPUT:
        return event.text.windowID;
    default:
        return 0;
    }
}

} // namespace

void addRoutedWindow(SdlWindow& window) {
    auto& windows = routedWindows();
    if (windows.capacity() == 0) {
        windows.reserve(8);
    }
    windows.push_back(&window);
}

void removeRoutedWindow(const SdlWindow& window) {
    auto& windows = routedWindows();
    windows.erase(std::remove(windows.begin(), windows.end(), &window), windows.end());
}

void routePendingEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        const bool everyWindow = event.type == SDL_QUIT;
        const Uint32 id = windowOf(event);
        for (SdlWindow* window : routedWindows()) {
            if (everyWindow || (id != 0 && window->id() == id)) {
                window->enqueue(event);
            }
        }
    }
}

} // namespace duskhall
