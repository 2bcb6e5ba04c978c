#include "display/sdl/SdlWindow.h"

#include "display/DisplayError.h"
#include "display/ScreenCore.h"
#include "display/sdl/SdlEventRouter.h"
#include "display/sdl/SdlEvents.h"
#include "display/sdl/SdlKeyMap.h"
#include "display/sdl/X11Dpi.h"

#include <cmath>
#include <string>

namespace duskhall {

SdlWindow::SdlWindow(ScreenCore* screen, const char* title, std::int32_t width, std::int32_t height)
    : WindowCore(screen, width, height) {
    keyUpsMatchKeyDowns = true;
    // Created hidden; the screen shows it with the first frame.
    window_ = SDL_CreateWindow(title != nullptr ? title : "", SDL_WINDOWPOS_CENTERED,
                               SDL_WINDOWPOS_CENTERED, width, height, SDL_WINDOW_HIDDEN);
    if (window_ != nullptr) {
        id_ = SDL_GetWindowID(window_);
        addRoutedWindow(*this);
        // Typed text (after the layout, dead keys and composition) comes as its
        // own events beside the keys.
        SDL_StartTextInput();
        rebuildSystemMenu();
    }
}

SdlWindow::~SdlWindow() {
    removeRoutedWindow(*this);
    if (window_ != nullptr) {
        if (mouse.left || mouse.middle || mouse.right) {
            SDL_CaptureMouse(SDL_FALSE);
        }
        SDL_DestroyWindow(window_);
    }
}

bool SdlWindow::hidden() const {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_SHOWN) == 0;
}

void SdlWindow::destroy() {
    destroyed = true;
    removeRoutedWindow(*this);
    SDL_HideWindow(window_);
}

void SdlWindow::setCaption(const char* title) {
    if (!destroyed) {
        SDL_SetWindowTitle(window_, title);
    }
}

void SdlWindow::setTopmost(bool on) {
    if (!destroyed) {
        SDL_SetWindowAlwaysOnTop(window_, on ? SDL_TRUE : SDL_FALSE);
    }
}

bool SdlWindow::setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) {
    if (destroyed) {
        return true;
    }
    // SDL copies the pixels; the surface only borrows them for the call.
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<PackedPixel*>(pixels), width, height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (icon == nullptr) {
        setDisplayError((std::string("setIcon: ") + SDL_GetError()).c_str());
        return false;
    }
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
    return true;
}

void SdlWindow::pumpMessages() {
    pumpStarting();
    routePendingEvents();
    while (!destroyed && count_ > 0) {
        const SDL_Event event = pending_[first_];
        first_ = (first_ + 1) % pending_.size();
        --count_;
        dispatch(event);
    }
}

void SdlWindow::enqueue(const SDL_Event& event) {
    if (count_ < pending_.size()) {
        pending_[(first_ + count_) % pending_.size()] = event;
        ++count_;
    }
}

void SdlWindow::dispatch(const SDL_Event& event) {
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
        eventModifiers_ = event.key.keysym.mod;
    } else if (event.type == SDL_WINDOWEVENT &&
               event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        eventModifiers_ = static_cast<Uint16>(SDL_GetModState()); // held while away
    }
    // Ctrl without Alt makes a shortcut, not text, as on the other platforms
    // (X11 types the digit of Ctrl+1). The key event before the text says.
    if (event.type == SDL_TEXTINPUT && (eventModifiers_ & KMOD_CTRL) != 0 &&
        (eventModifiers_ & KMOD_ALT) == 0) {
        return;
    }
    if ((event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) && event.key.windowID == id_ &&
        takeShortcut(virtualKeyFor(event.key.keysym.scancode), event.type == SDL_KEYDOWN,
                     shortcutCommand(event.key, menuEntries))) {
        return;
    }
    for (const WindowMessage& message : translateEvent(event, id_, pointerHeld)) {
        if (message.message == wm::Moving && ourOwnMove(message.lParam)) {
            continue;
        }
        if (message.message == wm::Destroy) {
            // What the default handling of a close does: the window goes away.
            SDL_HideWindow(window_);
        }
        // A refused close keeps the window: no destruction follows.
        if (!handleMessage(message) || destroyed) {
            return;
        }
    }
}

void SdlWindow::keepPlace() {
    // Only the first renderer recreates the window; by the later ones (a new
    // frame size) the user or the window manager may have moved it, and that
    // place is theirs.
    if (rendererMade_) {
        return;
    }
    rendererMade_ = true;
    if (moved_ && !fullscreenStyle_ && !destroyed) {
        SDL_SetWindowPosition(window_, movedX_, movedY_);
    }
}

bool SdlWindow::ourOwnMove(std::intptr_t position) const {
    if (fullscreenStyle_ || hidden()) {
        return true;
    }
    const auto x = static_cast<std::int16_t>(position & 0xFFFF);
    const auto y = static_cast<std::int16_t>((position >> 16) & 0xFFFF);
    return moved_ && x == movedX_ && y == movedY_;
}

// The state of Alt as the key event saw it: events injected by SDL_PushEvent do
// not update SDL's own modifier state.
bool SdlWindow::altHeld() {
    return (eventModifiers_ & KMOD_ALT) != 0;
}

void SdlWindow::setCapture() {
    SDL_CaptureMouse(SDL_TRUE);
}

void SdlWindow::releaseCapture() {
    SDL_CaptureMouse(SDL_FALSE);
}

WindowSize SdlWindow::clientSize() {
    WindowSize size;
    SDL_GetWindowSize(window_, &size.width, &size.height);
    return size;
}

void SdlWindow::setCursor(CursorKind cursor) {
    SDL_ShowCursor(cursor == CursorKind::Arrow ? SDL_ENABLE : SDL_DISABLE);
}

void SdlWindow::setVisible(bool visible) {
    if (visible) {
        SDL_ShowWindow(window_);
    } else {
        SDL_HideWindow(window_);
    }
}

void SdlWindow::setFrameStyle(bool windowedStyle) {
    // Fullscreen covers the desktop and scales the picture; no display mode change.
    if (SDL_SetWindowFullscreen(window_, windowedStyle ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        setDisplayError(
            (std::string(windowedStyle ? "no windowed mode: " : "no fullscreen mode: ") +
             SDL_GetError())
                .c_str());
        styleFailed = true;
        return;
    }
    fullscreenStyle_ = !windowedStyle;
    if (windowedStyle) {
        applyResizable();
        SDL_SetWindowBordered(window_, borderless ? SDL_FALSE : SDL_TRUE);
    }
}

WindowRect SdlWindow::outerRect() {
    WindowRect rect;
    int w = 0;
    int h = 0;
    SDL_GetWindowPosition(window_, &rect.left, &rect.top);
    SDL_GetWindowSize(window_, &w, &h);
    rect.right = rect.left + w;
    rect.bottom = rect.top + h;
    return rect;
}

void SdlWindow::moveWindow(const WindowRect& outer) {
    // Fullscreen covers the desktop whatever the rectangle says; after a refused
    // style change the window keeps the place and size it had.
    if (fullscreenStyle_ || styleFailed) {
        return;
    }
    SDL_SetWindowSize(window_, outer.width() > 0 ? outer.width() : 1,
                      outer.height() > 0 ? outer.height() : 1);
    SDL_SetWindowPosition(window_, outer.left, outer.top);
    movedX_ = outer.left;
    movedY_ = outer.top;
    moved_ = true;
}

WindowSize SdlWindow::screenSize() {
    SDL_DisplayMode mode{};
    const int display = SDL_GetWindowDisplayIndex(window_);
    if (SDL_GetDesktopDisplayMode(display >= 0 ? display : 0, &mode) != 0) {
        return WindowSize{width, height};
    }
    return WindowSize{mode.w, mode.h};
}

FrameInsets SdlWindow::frameInsets() {
    return FrameInsets{};
}

bool SdlWindow::minimised() {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) != 0;
}

bool SdlWindow::maximised() {
    return (SDL_GetWindowFlags(window_) & SDL_WINDOW_MAXIMIZED) != 0;
}

Modifiers SdlWindow::modifiers() {
    return modifiersFromSdl(eventModifiers_);
}

bool SdlWindow::holdPointer(bool on) {
    if (SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE) != 0) {
        setDisplayError((std::string("no relative mouse: ") + SDL_GetError()).c_str());
        return false;
    }
    return true;
}

// The entries are kept in menuEntries; they decide which shortcuts work.
void SdlWindow::applySystemMenu(const MenuList&) {}

void SdlWindow::applyResizable() {
    if (!destroyed) {
        SDL_SetWindowResizable(window_, resizable ? SDL_TRUE : SDL_FALSE);
    }
}

// From the display's horizontal DPI against the usual 96, in quarter steps:
// X servers work theirs out from the monitor's millimetres, which rarely give
// 96 exactly. On X the desktop's own setting (Xft.dpi) comes first, as toolkits
// take it; SDL's figure next; X's millimetres when SDL has none (a virtual
// server, a monitor that reports no size to RandR).
float SdlWindow::displayScale() {
    float horizontal = 0.0f;
    const float xft = x11XftDpi(window_);
    if (xft > 0.0f) {
        horizontal = xft;
    } else {
        const int display = SDL_GetWindowDisplayIndex(window_);
        if (SDL_GetDisplayDPI(display >= 0 ? display : 0, nullptr, &horizontal, nullptr) != 0 ||
            horizontal <= 0.0f) {
            horizontal = x11ScreenDpi(window_);
        }
    }
    if (horizontal <= 0.0f) {
        return 1.0f;
    }
    const float quarters = std::nearbyint(horizontal / 96.0f * 4.0f);
    return quarters < 4.0f ? 1.0f : quarters / 4.0f;
}

} // namespace duskhall
