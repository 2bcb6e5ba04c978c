#pragma once

#include "app/ApplicationShell.h"
#include "app/ExploreControls.h"

// The demo's observer: keeps the shell's key tables and hands key presses, the
// mouse and focus changes to explore mode's controls.
class ExploreObserver : public KeyStateObserver {
  public:
    explicit ExploreObserver(ExploreControls& controls) : controls_(controls) {}

    void keyDown(Screen& screen, KeyCode key) override;
    void buttonDown(Screen& screen, MouseState mouse) override;
    void buttonUp(Screen& screen, MouseState mouse) override;
    void pointerMoved(Screen& screen, MouseState mouse) override;
    void focusChanged(Screen& screen, bool active) override;

  private:
    ExploreControls& controls_;
};
