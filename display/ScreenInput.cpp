#include "display/ScreenCore.h"

#include "display/DisplayError.h"
#include "display/WindowCore.h"

#include <cstdio>

namespace duskhall {

// Keyboard and mouse settings of an open screen.

namespace {

bool refuseClosed(const char* operation) {
    char reason[96];
    std::snprintf(reason, sizeof reason, "%s: the screen is not open", operation);
    setDisplayError(reason);
    return false;
}

} // namespace

Modifiers ScreenCore::modifiers() const {
    WindowCore* const window = windowCore();
    if (!isOpen() || window == nullptr || window->destroyed) {
        return Modifiers{};
    }
    return window->modifiers();
}

bool ScreenCore::setCursorVisible(bool visible) {
    if (!isOpen()) {
        return refuseClosed("setCursorVisible");
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
        return refuseClosed("setRelativeMouse");
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
