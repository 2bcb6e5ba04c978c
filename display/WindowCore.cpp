#include "display/WindowCore.h"

#include "display/ScreenCore.h"

#include <cassert>

namespace duskhall {

namespace {

ScreenCore& checkedScreen(ScreenCore* screen) {
    // A window without its screen is a programming error.
    const bool display = screen != nullptr;
    assert(display);
    (void)display;
    return *screen;
}

// The button a mouse message is about: each button's down and up messages sit
// side by side, left from 0x201, right from 0x204, middle from 0x207.
bool MouseState::*buttonOf(std::uint32_t message) {
    if (message >= wm::MButtonDown) {
        return &MouseState::middle;
    }
    return message >= wm::RButtonDown ? &MouseState::right : &MouseState::left;
}

} // namespace

ObserverLink& ObserverLink::operator=(InputObserver* observer) {
    screen_.setObserver(observer);
    return *this;
}

ObserverLink::operator InputObserver*() const {
    return screen_.observer();
}

WindowCore::WindowCore(ScreenCore* screen_, std::int32_t width_, std::int32_t height_)
    : width(width_), height(height_), keyTable(makeKeyTable()), screen(&checkedScreen(screen_)),
      observer(*screen_) {}

bool WindowCore::handleMessage(const WindowMessage& message) {
    // Held for the whole handling: a handler may close the screen, and this
    // record must stay until the handling is over.
    ScreenCore::InUse inUse(*screen);
    switch (message.message) {
    case wm::Size:
        // Minimising, maximising and restoring change the zoom entries.
        rebuildSystemMenu();
        break;
    case wm::Activate:
        active = (message.wParam & 0xFFFF) != static_cast<std::uintptr_t>(ActivateInactive);
        if (observer != nullptr) {
            observer->focusChanged(screen->eventTarget(), active);
        }
        break;
    case wm::Paint:
        screen->paint();
        break;
    case wm::Close:
    case wm::Quit:
        return closeAsked();
    case wm::Destroy:
        // Also reached when the close box is used without an observer: the window
        // is gone, so the screen must end rather than run on without it.
        destroyed = true;
        screen->requestClose();
        break;
    case wm::SetCursor:
        if ((message.lParam & 0xFFFF) == HitClient) {
            setCursor(windowed != 0 ? CursorKind::Arrow : CursorKind::Blank);
        }
        break;
    case wm::KeyDown:
    case wm::SysKeyDown:
        keyPressed(static_cast<int>(message.wParam & 0xFF));
        break;
    case wm::KeyUp:
    case wm::SysKeyUp:
        keyReleased(static_cast<int>(message.wParam & 0xFF));
        break;
    case wm::SysCommand:
        menuCommand(message.wParam);
        break;
    case wm::MouseMove:
        updatePosition(message.lParam);
        if (observer != nullptr) {
            observer->pointerMoved(screen->eventTarget(), mouse);
        }
        break;
    case wm::LButtonDown:
    case wm::RButtonDown:
    case wm::MButtonDown:
        buttonPressed(buttonOf(message.message), message.lParam);
        break;
    case wm::LButtonUp:
    case wm::RButtonUp:
    case wm::MButtonUp:
        buttonReleased(buttonOf(message.message), message.lParam);
        break;
    case wm::Sizing:
        // Repaint on every step so a border drag stretches the picture live.
        screen->paint();
        rebuildSystemMenu();
        break;
    case wm::Moving:
        if (centred) {
            centred = false;
            rebuildSystemMenu();
        }
        break;
    default:
        break;
    }
    return true;
}

bool WindowCore::closeAsked() {
    if (observer == nullptr) {
        return true;
    }
    if (!observer->closing(screen->eventTarget())) {
        return false; // the window stays, and so does the screen
    }
    screen->requestClose();
    return true;
}

void WindowCore::keyPressed(int virtualKey) {
    const bool builtInKeys = screen->builtInKeys();
    if (builtInKeys && virtualKey == vk::Return && altHeld()) {
        screen->requestToggle();
        return;
    }
    const auto index = static_cast<std::size_t>(virtualKey);
    const KeyCode key = keyTable[index];
    if (!keyLatched[index]) {
        if (observer != nullptr) {
            observer->keyDown(screen->eventTarget(), key);
        }
        if (builtInKeys && virtualKey == vk::Escape) {
            screen->requestClose();
        }
        keyLatched[index] = true;
    }
    if (observer != nullptr) {
        observer->keyStroke(screen->eventTarget(), key);
    }
}

void WindowCore::keyReleased(int virtualKey) {
    const auto index = static_cast<std::size_t>(virtualKey);
    if (observer != nullptr && (keyLatched[index] || !keyUpsMatchKeyDowns)) {
        observer->keyUp(screen->eventTarget(), keyTable[index]);
    }
    keyLatched[index] = false;
}

bool WindowCore::takeShortcut(int virtualKey, bool pressed, std::int32_t command) {
    const auto index = static_cast<std::size_t>(virtualKey & 0xFF);
    if (!pressed) {
        keyTaken[index] = false;
        return false;
    }
    if (keyTaken[index]) {
        return true;
    }
    if (command == 0 || !screen->builtInKeys()) {
        return false;
    }
    keyTaken[index] = true;
    handleMessage(WindowMessage{wm::SysCommand, static_cast<std::uintptr_t>(command), 0});
    return true;
}

void WindowCore::menuCommand(std::uintptr_t command) {
    switch (command) {
    case menu::OriginalSize:
    case menu::Zoom2:
    case menu::Zoom4:
    case menu::Zoom8:
        // The zoom entries are numbered in the order of their factors 1, 2, 4, 8.
        zoom(static_cast<float>(1 << (command - menu::OriginalSize)));
        rebuildSystemMenu();
        break;
    case menu::Windowed:
        screen->enterWindowed();
        break;
    case menu::Fullscreen:
        screen->enterFullscreen();
        break;
    case menu::Centre:
        centre();
        rebuildSystemMenu();
        break;
    default:
        break;
    }
}

void WindowCore::updatePosition(std::intptr_t lParam) {
    const auto clientX = static_cast<std::int16_t>(lParam & 0xFFFF);
    const auto clientY = static_cast<std::int16_t>((lParam >> 16) & 0xFFFF);
    const WindowSize client = clientSize();
    // A client area shrunk to nothing has no scale: keep the last position.
    if (client.width > 0) {
        const double scale = static_cast<double>(width) / client.width;
        mouse.x = static_cast<float>(scale * clientX);
    }
    if (client.height > 0) {
        const double scale = static_cast<double>(height) / client.height;
        mouse.y = static_cast<float>(scale * clientY);
    }
}

void WindowCore::buttonPressed(bool MouseState::*button, std::intptr_t lParam) {
    if (!mouse.left && !mouse.middle && !mouse.right) {
        // Keep receiving the mouse until the last button is released, even outside.
        setCapture();
    }
    updatePosition(lParam);
    mouse.*button = true;
    if (observer != nullptr) {
        observer->buttonDown(screen->eventTarget(), mouse);
    }
}

void WindowCore::buttonReleased(bool MouseState::*button, std::intptr_t lParam) {
    updatePosition(lParam);
    mouse.*button = false;
    if (observer != nullptr) {
        observer->buttonUp(screen->eventTarget(), mouse);
    }
    if (!mouse.left && !mouse.middle && !mouse.right) {
        releaseCapture();
    }
}

void WindowCore::applyWindowedStyle(std::int32_t width_, std::int32_t height_) {
    width = width_;
    height = height_;
    setVisible(false);
    setFrameStyle(true);
    // Whatever the window's outer size is now becomes its client size.
    moveWindow(growByFrame(outerRect(), frameInsets()));
    centre();
    setCursor(CursorKind::Arrow);
    windowed = 1;
    rebuildSystemMenu();
}

void WindowCore::applyFullscreenStyle(std::int32_t width_, std::int32_t height_) {
    width = width_;
    height = height_;
    setVisible(false);
    setCursor(CursorKind::Blank);
    setFrameStyle(false);
    moveWindow(fullscreenRect(WindowSize{width, height}, screenSize()));
    setVisible(true);
    windowed = 0;
    rebuildSystemMenu();
}

void WindowCore::setBorderless(bool on) {
    if (on == borderless) {
        return;
    }
    if (windowed == 0) {
        borderless = on;
        return;
    }
    const FrameInsets before = frameInsets();
    borderless = on;
    const WindowRect outer = outerRect();
    setFrameStyle(true);
    moveWindow(reframedRect(outer, before, frameInsets()));
    rebuildSystemMenu();
}

void WindowCore::centre() {
    moveWindow(centredRect(outerRect(), screenSize()));
    centred = true;
    rebuildSystemMenu();
}

void WindowCore::zoom(float factor) {
    moveWindow(zoomedRect(outerRect(), WindowSize{width, height}, factor, frameInsets()));
}

void WindowCore::rebuildSystemMenu() {
    MenuState state;
    state.windowed = windowed == 1;
    state.minimised = minimised();
    state.maximised = maximised();
    state.centred = centred;
    state.framebuffer = WindowSize{width, height};
    state.screen = screenSize();
    menuEntries = systemMenuEntries(state);
    applySystemMenu(menuEntries);
}

void WindowCore::pumpStarting() {
    if (windowed == 0 && active) {
        setCursor(CursorKind::Blank);
    }
}

WindowPlacement WindowCore::placement() {
    return WindowPlacement{outerRect(), centred};
}

void WindowCore::restorePlacement(const WindowPlacement& placement) {
    moveWindow(placement.outer);
    centred = placement.centred;
    rebuildSystemMenu();
}

} // namespace duskhall
