#include "display/ScreenCore.h"

#include "display/DisplayError.h"
#include "display/WindowCore.h"

namespace duskhall {

// Keyboard and mouse settings of an open screen.

Modifiers ScreenCore::modifiers() const {
    WindowCore* const window = windowCore();
    if (!isOpen() || window == nullptr || window->destroyed) {
        return Modifiers{};
    }
    return window->modifiers();
}

bool ScreenCore::setCursorVisible(bool visible) {
    if (!isOpen()) {
        return refuseOnClosedScreen("setCursorVisible");
    }
    cursorVisible_ = visible;
    WindowCore* const window = windowCore();
    if (window != nullptr) {
        window->refreshCursor();
    }
    return true;
}

bool ScreenCore::cursorVisible() const {
    return cursorVisible_;
}

bool ScreenCore::setRelativeMouse(bool on) {
    if (!isOpen()) {
        return refuseOnClosedScreen("setRelativeMouse");
    }
    WindowCore* const window = windowCore();
    if (window != nullptr && !window->destroyed && !window->setPointerHeld(on)) {
        return false; // the platform's reason is in displayError
    }
    relativeMouse_ = on;
    return true;
}

bool ScreenCore::relativeMouse() const {
    return relativeMouse_;
}

} // namespace duskhall
