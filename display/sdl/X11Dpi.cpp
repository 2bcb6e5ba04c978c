#include "display/sdl/X11Dpi.h"

#include <SDL_syswm.h>

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

namespace duskhall {

namespace {

// The few Xlib calls needed, looked up by name: the display is SDL's, passed as
// an opaque pointer.
struct Xlib {
    using Atom = unsigned long;
    using Window = unsigned long;
    Window (*defaultRootWindow)(void*) = nullptr;
    int (*defaultScreen)(void*) = nullptr;
    int (*displayWidth)(void*, int) = nullptr;
    int (*displayWidthMM)(void*, int) = nullptr;
    Atom (*internAtom)(void*, const char*, int) = nullptr;
    int (*getWindowProperty)(void*, Window, Atom, long, long, int, Atom, Atom*, int*,
                             unsigned long*, unsigned long*, unsigned char**) = nullptr;
    int (*free)(void*) = nullptr;

    bool load() {
        // RTLD_NOLOAD: only a libX11 already in the process, never a new one.
        void* library = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
        if (library == nullptr) {
            return false;
        }
        return find(library, "XDefaultRootWindow", defaultRootWindow) &&
               find(library, "XDefaultScreen", defaultScreen) &&
               find(library, "XDisplayWidth", displayWidth) &&
               find(library, "XDisplayWidthMM", displayWidthMM) &&
               find(library, "XInternAtom", internAtom) &&
               find(library, "XGetWindowProperty", getWindowProperty) &&
               find(library, "XFree", free);
    }

    template <typename Function>
    static bool find(void* library, const char* name, Function& function) {
        function = reinterpret_cast<Function>(dlsym(library, name));
        return function != nullptr;
    }
};

constexpr int xSuccess = 0;
constexpr unsigned long xStringAtom = 31; // XA_STRING
constexpr long resourceWords = 1 << 16;   // the property's first 256 KiB

// Read from the root window each time, not from the copy Xlib keeps from when the
// display was opened: the desktop may have changed it since.
float xftDpiOfRoot(const Xlib& x, void* display) {
    const Xlib::Atom property = x.internAtom(display, "RESOURCE_MANAGER", 1);
    if (property == 0) {
        return 0.0f;
    }
    Xlib::Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    if (x.getWindowProperty(display, x.defaultRootWindow(display), property, 0, resourceWords, 0,
                            xStringAtom, &type, &format, &items, &left, &data) != xSuccess ||
        data == nullptr) {
        return 0.0f;
    }
    const float dpi = format == 8 ? xftDpiOf(reinterpret_cast<const char*>(data)) : 0.0f;
    x.free(data);
    return dpi;
}

} // namespace

float xftDpiOf(const char* resources) {
    constexpr const char key[] = "Xft.dpi:";
    for (const char* line = resources; line != nullptr && *line != '\0';) {
        if (std::strncmp(line, key, sizeof key - 1) == 0) {
            const float dpi = std::strtof(line + sizeof key - 1, nullptr);
            return dpi > 0.0f ? dpi : 0.0f;
        }
        line = std::strchr(line, '\n');
        if (line != nullptr) {
            ++line;
        }
    }
    return 0.0f;
}

// SDL's display for a window on X, with the Xlib calls to ask it; false otherwise.
static bool x11DisplayOf(SDL_Window* window, Xlib& x, void*& display) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE ||
        info.subsystem != SDL_SYSWM_X11 || !x.load()) {
        return false;
    }
    display = info.info.x11.display;
    return display != nullptr;
}

float x11XftDpi(SDL_Window* window) {
    Xlib x;
    void* display = nullptr;
    return x11DisplayOf(window, x, display) ? xftDpiOfRoot(x, display) : 0.0f;
}

float x11ScreenDpi(SDL_Window* window) {
    Xlib x;
    void* display = nullptr;
    if (!x11DisplayOf(window, x, display)) {
        return 0.0f;
    }
    const int screen = x.defaultScreen(display);
    const int millimetres = x.displayWidthMM(display, screen);
    return millimetres > 0 ? static_cast<float>(x.displayWidth(display, screen)) * 25.4f /
                                 static_cast<float>(millimetres)
                           : 0.0f;
}

} // namespace duskhall
