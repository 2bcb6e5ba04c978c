#include "app/ExploreObserver.h"

#include <duskhall/Screen.h>

using duskhall::KeyCode;
using duskhall::MouseState;
using duskhall::Screen;

namespace {

constexpr KeyCode KeyEscape = 27;

} // namespace

void ExploreObserver::keyDown(Screen& screen, KeyCode key) {
    KeyStateObserver::keyDown(screen, key);
    if (screen.relativeMouse() && (key == ExploreControls::KeyTab || key == KeyEscape)) {
        screen.setRelativeMouse(false);
        return;
    }
    controls_.keyDown(key);
}

void ExploreObserver::buttonDown(Screen& screen, MouseState mouse) {
    if (screen.relativeMouse()) {
        return;
    }
    // Where the pointer cannot be held, dragging still turns.
    if (controls_.exploring() && mouse.left && screen.setRelativeMouse(true)) {
        return;
    }
    controls_.buttonDown(mouse);
}

void ExploreObserver::buttonUp(Screen&, MouseState mouse) {
    controls_.buttonUp(mouse);
}

void ExploreObserver::pointerMoved(Screen& screen, MouseState mouse) {
    if (screen.relativeMouse()) {
        controls_.looked(mouse);
    } else {
        controls_.pointerMoved(mouse);
    }
}

void ExploreObserver::focusChanged(Screen&, bool active) {
    if (!active) {
        controls_.focusLost();
    }
}

void ExploreObserver::resized(Screen&, std::int32_t width, std::int32_t height) {
    if (window_ != nullptr) {
        *window_ = {width, height};
    }
}
