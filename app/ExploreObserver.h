#pragma once

#include "app/ApplicationShell.h"
#include "app/ExploreControls.h"

#include <cstdint>

// The size of the window's client area as the screen last reported it.
struct ClientAreaSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The demo's observer: keeps the shell's key tables, hands key presses, the mouse
// and focus changes to explore mode's controls and notes the window's size. In
// explore mode a click takes the pointer for looking around (the screen's
// relative mouse); the first Escape or Tab then gives it back, and only the next
// one closes or leaves.
class ExploreObserver : public KeyStateObserver {
  public:
    // The window's size goes to window, when given.
    explicit ExploreObserver(ExploreControls& controls, ClientAreaSize* window = nullptr)
        : controls_(controls), window_(window) {}

    void keyDown(duskhall::Screen& screen, duskhall::KeyCode key) override;
    void buttonDown(duskhall::Screen& screen, duskhall::MouseState mouse) override;
    void buttonUp(duskhall::Screen& screen, duskhall::MouseState mouse) override;
    void pointerMoved(duskhall::Screen& screen, duskhall::MouseState mouse) override;
    void focusChanged(duskhall::Screen& screen, bool active) override;
    void resized(duskhall::Screen& screen, std::int32_t width, std::int32_t height) override;

  private:
    ExploreControls& controls_;
    ClientAreaSize* window_;
};
