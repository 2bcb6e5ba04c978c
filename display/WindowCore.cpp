#include "display/WindowCore.h"

#include "display/ScreenCore.h"

#include <cassert>
#include <cstdlib>

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
      observer(*screen_), toldClientSize{width_, height_} {}

bool WindowCore::handleMessage(const WindowMessage& message) {
    // Held for the whole handling: a handler may close the screen, and this
    // record must stay until the handling is over.
    ScreenCore::InUse inUse(*screen);
    switch (message.message) {
    case wm::Size:
        // Minimising, maximising and restoring change the zoom entries.
        rebuildSystemMenu();
        noteClientSize();
        break;
    case wm::Activate:
        active = (message.wParam & 0xFFFF) != static_cast<std::uintptr_t>(ActivateInactive);
        if (!active) {
            focusLost();
        }
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
        setPointerHeld(false);
        destroyed = true;
        screen->requestClose();
        break;
    case wm::SetCursor:
        if ((message.lParam & 0xFFFF) == HitClient) {
            setCursor(clientCursor(windowed != 0));
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
        if (pointerHeld) {
            heldPointerMoved(message.lParam);
        } else {
            pointerMovedTo(message.lParam);
        }
        break;
    case wm::MouseDelta:
        // Changes count only while the pointer is held; one still queued from
        // before a release is dropped.
        if (pointerHeld) {
            reportHeldMove(static_cast<std::int16_t>(message.lParam & 0xFFFF),
                           static_cast<std::int16_t>((message.lParam >> 16) & 0xFFFF));
        }
        break;
    case wm::HoldLost:
        if (!destroyed && (pointerHeld || screen->relativeMouse())) {
            releaseHold();
        }
        break;
    case wm::MouseWheel:
    case wm::MouseHWheel:
        wheelTurned(message.message == wm::MouseWheel, message.wParam);
        break;
    case wm::Char:
        deliverText(typedText.takeUnit(static_cast<std::uint16_t>(message.wParam & 0xFFFF)));
        break;
    case wm::UniChar:
        // Windows asks with UNICODE_NOCHAR (0xFFFF, no character) whether the
        // message is understood; it is answered by the default handling.
        deliverText(typedText.takeCodePoint(
            message.wParam <= 0x10FFFF ? static_cast<std::uint32_t>(message.wParam) : 0xFFFF));
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
        noteClientSize();
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
    // Escape lets go of a held pointer before it closes anything, as the
    // browser's pointer lock has it; decided before the observer may release it.
    const bool releaseFirst = builtInKeys && virtualKey == vk::Escape && screen->relativeMouse();
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
        if (builtInKeys && virtualKey == vk::Escape && !releaseFirst) {
            screen->requestClose();
        } else if (releaseFirst && !destroyed && (pointerHeld || screen->relativeMouse())) {
            releaseHold();
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

void WindowCore::pointerMovedTo(std::intptr_t lParam) {
    const float lastX = mouse.x;
    const float lastY = mouse.y;
    updatePosition(lParam);
    mouse.dx = positionKnown_ ? mouse.x - lastX : 0.0f;
    mouse.dy = positionKnown_ ? mouse.y - lastY : 0.0f;
    positionKnown_ = true;
    if (observer != nullptr) {
        observer->pointerMoved(screen->eventTarget(), mouse);
    }
}

void WindowCore::heldPointerMoved(std::intptr_t lParam) {
    // Elsewhere the position stays where the pointer was taken; the platform
    // reports the changes as wm::MouseDelta.
    if (!holdsByWarping) {
        return;
    }
    const auto x = static_cast<std::int16_t>(lParam & 0xFFFF);
    const auto y = static_cast<std::int16_t>((lParam >> 16) & 0xFFFF);
    if (x == heldX_ && y == heldY_) {
        return; // the pointer arriving where it was put back
    }
    warpPointer(heldX_, heldY_);
    reportHeldMove(x - heldX_, y - heldY_);
}

void WindowCore::reportHeldMove(int clientDx, int clientDy) {
    // The change in frame pixels by the rule positions follow: the distance
    // between the frame points of two client points that far apart.
    const MouseState kept = mouse;
    updatePosition(mousePosition(0, 0));
    const float originX = mouse.x;
    const float originY = mouse.y;
    updatePosition(mousePosition(clientDx, clientDy));
    const float dx = mouse.x - originX;
    const float dy = mouse.y - originY;
    mouse = kept;
    if (dx == 0.0f && dy == 0.0f) {
        return;
    }
    mouse.dx = dx;
    mouse.dy = dy;
    if (observer != nullptr) {
        observer->pointerMoved(screen->eventTarget(), mouse);
    }
}

void WindowCore::wheelTurned(bool vertical, std::uintptr_t wParam) {
    const int distance = static_cast<std::int16_t>((wParam >> 16) & 0xFFFF);
    if (distance == 0) {
        return;
    }
    // Whole notches come one call each; a finer distance is a precise scroll,
    // given in one call.
    const bool whole = distance % WheelDelta == 0;
    const int calls = whole ? std::abs(distance / WheelDelta) : 1;
    const float step = whole ? (distance > 0 ? 1.0f : -1.0f)
                             : static_cast<float>(distance) / static_cast<float>(WheelDelta);
    for (int i = 0; i < calls && observer != nullptr && !destroyed; ++i) {
        observer->wheel(screen->eventTarget(), vertical ? 0.0f : step, vertical ? step : 0.0f);
    }
}

void WindowCore::deliverText(const TypedCharacters& characters) {
    for (int i = 0; i < characters.count && observer != nullptr && !destroyed; ++i) {
        observer->text(screen->eventTarget(), characters.text[static_cast<std::size_t>(i)].data());
    }
}

void WindowCore::focusLost() {
    typedText.reset(); // half a character is not finished elsewhere
    if (!destroyed && (pointerHeld || screen->relativeMouse())) {
        releaseHold();
    }
}

void WindowCore::releaseHold() {
    setPointerHeld(false);
    // The setting goes with the hold: the program takes the pointer again when it
    // wants it (on a click, say).
    screen->relativeMouseReleased();
}

CursorKind WindowCore::clientCursor(bool windowedStyle) const {
    return windowedStyle && !pointerHeld && screen->cursorVisible() ? CursorKind::Arrow
                                                                    : CursorKind::Blank;
}

void WindowCore::refreshCursor() {
    if (!destroyed && pointerOverClient()) {
        setCursor(clientCursor(windowed != 0));
    }
}

bool WindowCore::setPointerHeld(bool on) {
    if (destroyed || (!on && !pointerHeld)) {
        return !on;
    }
    const bool was = pointerHeld;
    // Set first: moves the platform sends while taking the pointer are the held kind.
    pointerHeld = on;
    if (!holdPointer(on)) {
        pointerHeld = was;
        return false;
    }
    positionKnown_ = false;
    if (on && holdsByWarping) {
        const WindowSize client = clientSize();
        heldX_ = client.width / 2;
        heldY_ = client.height / 2;
        warpPointer(heldX_, heldY_);
    }
    refreshCursor();
    return true;
}

void WindowCore::takePointerSettings() {
    // A new style is a new place and size: a held pointer is taken anew there,
    // or let go of entirely when that is refused. A window a handler closed
    // meanwhile is no longer the screen's to speak for.
    if (!destroyed && screen->relativeMouse() && !setPointerHeld(true)) {
        releaseHold();
    }
}

void WindowCore::updatePosition(std::intptr_t lParam) {
    const auto clientX = static_cast<std::int16_t>(lParam & 0xFFFF);
    const auto clientY = static_cast<std::int16_t>((lParam >> 16) & 0xFFFF);
    // Scaled from the picture, wherever the scaling put it in the client area.
    const WindowRect picture =
        pictureRect(screen->scaling(), WindowSize{width, height}, clientSize());
    // A picture shrunk to nothing has no scale: keep the last position.
    if (picture.width() > 0) {
        const double scale = static_cast<double>(width) / picture.width();
        mouse.x = static_cast<float>(scale * (clientX - picture.left));
    }
    if (picture.height() > 0) {
        const double scale = static_cast<double>(height) / picture.height();
        mouse.y = static_cast<float>(scale * (clientY - picture.top));
    }
}

void WindowCore::buttonPressed(bool MouseState::*button, std::intptr_t lParam) {
    if (!mouse.left && !mouse.middle && !mouse.right) {
        // Keep receiving the mouse until the last button is released, even outside.
        setCapture();
    }
    if (!pointerHeld) {
        updatePosition(lParam);
        positionKnown_ = true;
    }
    mouse.*button = true;
    if (observer != nullptr) {
        observer->buttonDown(screen->eventTarget(), mouse);
    }
}

void WindowCore::buttonReleased(bool MouseState::*button, std::intptr_t lParam) {
    if (!pointerHeld) {
        updatePosition(lParam);
        positionKnown_ = true;
    }
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
    setCursor(clientCursor(true));
    windowed = 1;
    rebuildSystemMenu();
    takePointerSettings();
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
    takePointerSettings();
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

MenuState WindowCore::menuState() {
    MenuState state;
    state.windowed = windowed == 1;
    state.minimised = minimised();
    state.maximised = maximised();
    state.centred = centred;
    state.framebuffer = WindowSize{width, height};
    state.screen = screenSize();
    return state;
}

void WindowCore::rebuildSystemMenu() {
    menuEntries = systemMenuEntries(menuState());
    applySystemMenu(menuEntries);
}

void WindowCore::noteClientSize() {
    const WindowSize client = clientSize();
    if (client.width <= 0 || client.height <= 0 ||
        (client.width == toldClientSize.width && client.height == toldClientSize.height)) {
        return;
    }
    toldClientSize = client;
    if (observer != nullptr) {
        observer->resized(screen->eventTarget(), client.width, client.height);
    }
}

void WindowCore::setResizable(bool on) {
    resizable = on;
    applyResizable();
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
