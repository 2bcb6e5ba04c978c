#pragma once

#include "display/KeyCode.h"
#include "display/MouseState.h"

class Screen;

// Receives a screen's input and lifecycle events. Every callback does nothing by
// default; applications override the ones they need. The order of the callbacks
// is part of the interface: keep it.
class InputObserver {
  public:
    virtual ~InputObserver() = default;
    // The first key-down of a key since its release (auto-repeat does not raise it).
    virtual void keyDown(Screen& screen, KeyCode key) {
        (void)screen;
        (void)key;
    }
    // Every key-down, the first one and each auto-repeat.
    virtual void keyStroke(Screen& screen, KeyCode key) {
        (void)screen;
        (void)key;
    }
    virtual void keyUp(Screen& screen, KeyCode key) {
        (void)screen;
        (void)key;
    }
    virtual void buttonDown(Screen& screen, MouseState mouse) {
        (void)screen;
        (void)mouse;
    }
    virtual void buttonUp(Screen& screen, MouseState mouse) {
        (void)screen;
        (void)mouse;
    }
    virtual void pointerMoved(Screen& screen, MouseState mouse) {
        (void)screen;
        (void)mouse;
    }
    virtual void focusChanged(Screen& screen, bool active) {
        (void)screen;
        (void)active;
    }
    // Once at the end of a successful open, for an observer installed before it.
    virtual void opened(Screen& screen) { (void)screen; }
    // The user asked to close the window; the screen closes at the next frame
    // whatever the answer.
    virtual bool closing(Screen& screen) {
        (void)screen;
        return true;
    }
};
