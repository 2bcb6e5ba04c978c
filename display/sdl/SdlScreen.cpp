#include "display/sdl/SdlScreen.h"

#include "display/DisplayError.h"
#include "display/InputObserver.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool environmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
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
bool startVideo() {
    static bool started = false;
    if (started) {
        return true;
    }
    const bool driverChosen = environmentSet("SDL_VIDEODRIVER");
    if (!driverChosen && !environmentSet("DISPLAY") && !environmentSet("WAYLAND_DISPLAY")) {
        SDL_SetError("neither DISPLAY nor WAYLAND_DISPLAY is set");
        return false;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            return false;
        }
        if (driverChosen || !invisibleDriver(SDL_GetCurrentVideoDriver())) {
            started = true;
            return true;
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    SDL_SetError("only an invisible video driver is available");
    return false;
}

} // namespace

SdlScreen::SdlScreen() {
    // Room for the usual single close inside a pump, so it need not allocate.
    retiredOutputs_.reserve(1);
    retiredWindows_.reserve(1);
    // One window is the whole program: closing it is handled as a close request,
    // not as a second, separate quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
}

SdlScreen::~SdlScreen() {
    close();
}

bool SdlScreen::fail(const char* what) {
    const std::string reason = std::string(what) + ": " + SDL_GetError();
    setDisplayError(reason.c_str());
    close();
    return false;
}

bool SdlScreen::open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
                     PixelMode pixelMode) {
    ScreenCore::open(title, width, height, mode, pixelMode);
    if (!startVideo()) {
        return fail("no display");
    }
    window_ = std::make_unique<SdlWindow>(this, this, title, width, height);
    window_->observer = observer();
    if (!window_->valid()) {
        return fail("no window");
    }
    const bool windowed = mode == ScreenMode::Unspecified || mode == ScreenMode::Windowed;
    if (!(windowed ? enterWindowed() : enterFullscreen())) {
        return false;
    }
    if (observer() != nullptr) {
        observer()->opened(eventTarget());
    }
    return true;
}

void SdlScreen::close() {
    if (pumpDepth_ > 0) {
        if (output_ != nullptr) {
            retiredOutputs_.push_back(std::move(output_));
        }
        if (window_ != nullptr) {
            retiredWindows_.push_back(std::move(window_));
        }
    }
    output_.reset(); // the renderer goes before its window
    window_.reset();
    resetState();
}

void SdlScreen::resetState() {
    ScreenCore::resetState();
    closeRequested_ = false;
    toggleRequested_ = false;
}

void SdlScreen::setObserver(InputObserver* observer) {
    ScreenCore::setObserver(observer);
    if (window_ != nullptr) {
        window_->observer = observer;
    }
}

bool SdlScreen::enterWindowed() {
    return enterMode(ScreenMode::Windowed);
}

bool SdlScreen::enterFullscreen() {
    return enterMode(ScreenMode::Fullscreen);
}

void SdlScreen::applyStyle(ScreenMode mode) {
    window_->styleFailed = false;
    if (mode == ScreenMode::Windowed) {
        window_->applyWindowedStyle(width(), height());
    } else {
        window_->applyFullscreenStyle(width(), height());
    }
}

bool SdlScreen::enterMode(ScreenMode target) {
    if (window_ == nullptr) {
        return false;
    }
    if (output_ != nullptr && screenMode() == target) {
        return true;
    }
    applyStyle(target);
    if (window_->styleFailed) {
        if (output_ == nullptr) {
            return fail(target == ScreenMode::Windowed ? "no windowed mode" : "no fullscreen mode");
        }
        // A refused switch keeps the mode in force rather than ending the program.
        const std::string reason = std::string("cannot switch modes: ") + SDL_GetError();
        setDisplayError(reason.c_str());
        applyStyle(screenMode());
        if (window_->styleFailed) {
            return fail("cannot return to the previous mode");
        }
        return false;
    }
    if (output_ == nullptr) {
        output_ =
            SdlOutput::create(window_->handle(), width(), height(), refused_.data(), refusedCount_);
        if (output_ == nullptr) {
            return fail("no renderer");
        }
    }
    setScreenMode(target);
    if (target == ScreenMode::Fullscreen) {
        // The switch queues messages of its own (size, focus): handle them now.
        pumpMessages();
    }
    return true;
}

void SdlScreen::pumpMessages() {
    if (window_ == nullptr) {
        return;
    }
    window_->pumpStarting();
    ++pumpDepth_;
    SDL_Event event;
    while (window_ != nullptr && !window_->destroyed && SDL_PollEvent(&event) != 0) {
        window_->dispatch(event);
    }
    if (--pumpDepth_ == 0) {
        retiredOutputs_.clear(); // renderers go before their windows
        retiredWindows_.clear();
    }
}

bool SdlScreen::deliverFrame(const PackedPixel* pixels, const FloatPixel* floatPixels) {
    if (!actOnRequests(closeRequested_, toggleRequested_)) {
        return false;
    }
    pumpMessages();
    const bool windowGone = window_ == nullptr || window_->destroyed;
    if (output_ != nullptr && !windowGone) {
        output_->upload(pixels, floatPixels);
        output_->present();
    }
    if (!windowGone && window_->hidden()) {
        window_->show();
        pumpMessages();
    }
    return true;
}

bool SdlScreen::paint() {
    if (output_ == nullptr) {
        return false;
    }
    output_->present();
    return true;
}

void SdlScreen::requestToggle() {
    toggleRequested_ = true;
}

void SdlScreen::requestClose() {
    closeRequested_ = true;
}

void SdlScreen::refuseTextureFormat(std::uint32_t sdlFormat) {
    if (refusedCount_ < static_cast<int>(refused_.size())) {
        refused_[static_cast<std::size_t>(refusedCount_++)] = sdlFormat;
    }
}
