#include "display/sdl/SdlScreen.h"

#include "display/DisplayError.h"
#include "display/sdl/DisplayProbe.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace duskhall {

namespace {

void recordSdlError(const char* what) {
    const std::string reason = std::string(what) + ": " + SDL_GetError();
    setDisplayError(reason.c_str());
}

// SDL falls back to drivers that show nothing; unless asked for by name they
// would leave the demo running with no window anyone can see or close.
bool invisibleDriver(const char* driver) {
    return driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
           std::strcmp(driver, "dummy") == 0;
}

// SDL's video stays up for the rest of the process once started: a screen may
// be opened again, and bringing the X11 driver up anew does not always succeed
// at once.
bool environmentNames(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

// SDL's own words would name its last driver tried, not the display.
void recordUnreachableDisplay() {
    std::string tried;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') {
            tried += (tried.empty() ? "" : " or ") + std::string(name) + "=" + value;
        }
    }
    SDL_SetError("nothing answers at %s; start a display server there (Xvfb, say) or set DISPLAY "
                 "to one that runs",
                 tried.c_str());
}

bool startVideo() {
    static bool started = false;
    if (started) {
        return true;
    }
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const bool driverChosen = driver != nullptr && driver[0] != '\0';
    if (!driverChosen && !displayAvailable()) {
        SDL_SetError("neither DISPLAY nor WAYLAND_DISPLAY is set; run the program in a desktop "
                     "session, or set DISPLAY to a running X server (Xvfb, say)");
        return false;
    }
    if (!driverChosen && !environmentNames("WAYLAND_DISPLAY")) {
        // Tried without a Wayland display, the Wayland driver's library writes its
        // complaints to the terminal.
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            if (!driverChosen) {
                recordUnreachableDisplay();
            }
            return false;
        }
        if (driverChosen || !invisibleDriver(SDL_GetCurrentVideoDriver())) {
            started = true;
            return true;
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    recordUnreachableDisplay();
    return false;
}

} // namespace

SdlScreen::SdlScreen() : ScreenCore(static_cast<ScreenPlatform&>(*this)) {
    // One window is the whole program: closing it is handled as a close request,
    // not as a second, separate quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
}

std::unique_ptr<WindowCore> SdlScreen::createWindow(ScreenCore& screen, const char* title,
                                                    std::int32_t width, std::int32_t height) {
    if (!startVideo()) {
        recordSdlError("no display");
        return nullptr;
    }
    auto window = std::make_unique<SdlWindow>(&screen, title, width, height);
    if (!window->valid()) {
        recordSdlError("no window");
        return nullptr;
    }
    return window;
}

// Both modes show the frame alike: placed by the scaling in the window's area.
std::unique_ptr<ScreenOutput> SdlScreen::createOutput(WindowCore& window, ScreenMode) {
    auto output = SdlOutput::create(static_cast<SdlWindow&>(window).handle(), width(), height(),
                                    textures_, vsync());
    if (output == nullptr) {
        recordSdlError("no renderer");
    } else {
        // A window larger than the desktop was created centred, its top-left off
        // the screen; the placement chosen since then is the one to keep.
        static_cast<SdlWindow&>(window).keepPlace();
    }
    return output;
}

namespace {

void addFormat(std::array<std::uint32_t, 5>& formats, int& count, std::uint32_t sdlFormat) {
    if (count < static_cast<int>(formats.size())) {
        formats[static_cast<std::size_t>(count++)] = sdlFormat;
    }
}

} // namespace

void SdlScreen::refuseTextureFormat(std::uint32_t sdlFormat) {
    addFormat(textures_.refused, textures_.refusedCount, sdlFormat);
}

void SdlScreen::failTextureCreation(std::uint32_t sdlFormat) {
    addFormat(textures_.failing, textures_.failingCount, sdlFormat);
}

} // namespace duskhall
