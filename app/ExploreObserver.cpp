#include "app/ExploreObserver.h"

using duskhall::KeyCode;
using duskhall::MouseState;
using duskhall::Screen;

void ExploreObserver::keyDown(Screen& screen, KeyCode key) {
    KeyStateObserver::keyDown(screen, key);
    controls_.keyDown(key);
}

void ExploreObserver::buttonDown(Screen&, MouseState mouse) {
    controls_.buttonDown(mouse);
}

void ExploreObserver::buttonUp(Screen&, MouseState mouse) {
    controls_.buttonUp(mouse);
}

void ExploreObserver::pointerMoved(Screen&, MouseState mouse) {
    controls_.pointerMoved(mouse);
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
