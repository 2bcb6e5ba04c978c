#pragma once

#include <duskhall/InputObserver.h>

#include "renderer/level/Pixel.h"

#include <cstdint>
#include <memory>

namespace duskhall {
class ScreenHandle;
}

// The application's record of the keyboard, indexed by KeyCode.
extern std::uint8_t keyHeld[256];    // 1 while the key is down
extern std::uint8_t keyPressed[256]; // 1 once the key has gone down

// Keeps keyHeld and keyPressed up to date; every other event is ignored.
class KeyStateObserver : public duskhall::InputObserver {
  public:
    // Zeroes both key tables.
    KeyStateObserver();
    void keyDown(duskhall::Screen& screen, duskhall::KeyCode key) override;
    void keyUp(duskhall::Screen& screen, duskhall::KeyCode key) override;
};

// Opens the one display of the program and sizes the framebuffer. Returns the
// first framebuffer pixel, or null when the display did not open (the observer
// is installed and the framebuffer sized either way). The observer installed is
// the given one, which keeps the key tables as every KeyStateObserver does and
// may listen to more, or a plain KeyStateObserver.
PackedPixel* openDisplay(const char* title, std::int32_t width, std::int32_t height,
                         std::unique_ptr<KeyStateObserver> listener = nullptr);
// Later frames have width x height pixels, if the display takes them: the frame is
// sized anew (all zero) and its first pixel returned. Null, with the frame as it
// was, when the display refuses the size.
PackedPixel* resizeDisplayFrame(std::int32_t width, std::int32_t height);
// Lets the user resize the window by its edges; false when the display cannot.
bool setDisplayResizable(bool on);
// True when the display is not open.
bool displayClosed();
// Shows the framebuffer; true when the frame was shown.
bool updateDisplay();
void closeDisplay();
// Shows a new window title (UTF-8).
void setDisplayTitle(const char* title);

// The display opened by openDisplay (null before), for checks.
duskhall::ScreenHandle* shellDisplay();
