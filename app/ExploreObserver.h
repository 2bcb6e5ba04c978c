#pragma once

#include "app/ApplicationShell.h"
#include "app/ExploreControls.h"

// The demo's observer: keeps the shell's key tables and hands key presses, the
// mouse and focus changes to explore mode's controls. In explore mode a click
// takes the pointer for looking around (the screen's relative mouse); the first
// Escape or Tab then gives it back, and only the next one closes or leaves.
class ExploreObserver : public KeyStateObserver {
  public:
    explicit ExploreObserver(ExploreControls& controls) : controls_(controls) {}

    void keyDown(duskhall::Screen& screen, duskhall::KeyCode key) override;
    void buttonDown(duskhall::Screen& screen, duskhall::MouseState mouse) override;
    void buttonUp(duskhall::Screen& screen, duskhall::MouseState mouse) override;
    void pointerMoved(duskhall::Screen& screen, duskhall::MouseState mouse) override;
    void focusChanged(duskhall::Screen& screen, bool active) override;

  private:
    ExploreControls& controls_;
};
