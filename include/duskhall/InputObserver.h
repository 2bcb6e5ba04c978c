#pragma once

#include <duskhall/KeyCode.h>
#include <duskhall/MouseState.h>

#include <cstdint>

namespace duskhall {

class Screen;

/// Receives a screen's input and lifecycle events: derive from it, override the
/// callbacks you need (every one does nothing by default) and give the object to
/// the ScreenHandle constructor (or install it with Screen::setObserver). Callbacks run on the
/// screen's thread, inside showFrame (and inside open, close and mode switches); they may call the
/// screen, close() included. The screen passed is the ScreenHandle. The order of
/// the callbacks is part of the interface: keep it.
class InputObserver {
  public:
    virtual ~InputObserver() = default;
    /// The first key-down of a key since its release (auto-repeat does not raise
    /// it). With the built-in keys on, Escape then closes the screen at the next
    /// frame, and Alt+Enter and the shortcuts the screen acts on raise nothing.
    virtual void keyDown(Screen& screen, KeyCode key) {
        (void)screen;
        (void)key;
    }
    /// Every key-down, the first one and each auto-repeat.
    virtual void keyStroke(Screen& screen, KeyCode key) {
        (void)screen;
        (void)key;
    }
    /// A key released. On Linux and in the browser only after its keyDown; on
    /// Windows for every release (after Alt+Enter, a keyUp of Enter alone).
    virtual void keyUp(Screen& screen, KeyCode key) {
        (void)screen;
        (void)key;
    }
    /// A mouse button pressed; its flag in mouse is already set.
    virtual void buttonDown(Screen& screen, MouseState mouse) {
        (void)screen;
        (void)mouse;
    }
    /// A mouse button released (also outside the window while captured).
    virtual void buttonUp(Screen& screen, MouseState mouse) {
        (void)screen;
        (void)mouse;
    }
    /// The pointer moved, with the buttons as now held.
    virtual void pointerMoved(Screen& screen, MouseState mouse) {
        (void)screen;
        (void)mouse;
    }
    /// The mouse wheel or a touchpad scrolled: one call per notch, or per event of
    /// a precise (fractional) scroll, in notches; dy is positive away from the
    /// user, dx positive to the right.
    virtual void wheel(Screen& screen, float dx, float dy) {
        (void)screen;
        (void)dx;
        (void)dy;
    }
    /// Text the user typed, after the keyboard layout, dead keys and composition:
    /// one call per character or composed string, UTF-8, valid during the call
    /// only. Key codes are delivered beside it as before.
    virtual void text(Screen& screen, const char* utf8) {
        (void)screen;
        (void)utf8;
    }
    /// The window's client area changed size (the user dragged its edge, a zoom,
    /// a mode switch): the new size in pixels of the window, not of the frame.
    virtual void resized(Screen& screen, std::int32_t width, std::int32_t height) {
        (void)screen;
        (void)width;
        (void)height;
    }
    /// The window gained (true) or lost (false) the keyboard focus.
    virtual void focusChanged(Screen& screen, bool active) {
        (void)screen;
        (void)active;
    }
    /// Once at the end of a successful open, for an observer installed before it.
    virtual void opened(Screen& screen) { (void)screen; }
    /// The user asked to close the window (close box, Alt+F4). True: the screen
    /// closes at the next frame. False: the window stays open, no close pending.
    virtual bool closing(Screen& screen) {
        (void)screen;
        return true;
    }
};

} // namespace duskhall
