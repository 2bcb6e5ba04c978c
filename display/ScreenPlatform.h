#pragma once

#include <duskhall/Screen.h>

#include <cstdint>
#include <memory>

namespace duskhall {

class ScreenCore;
class ScreenOutput;
class WindowCore;

// The few things a platform supplies to the screen lifecycle of ScreenCore:
// everything else (open, mode switches with their fall-back, requests, pumping,
// frames, closing) is the same sequence on every platform. Failures leave the
// reason in displayError.
class ScreenPlatform {
  public:
    // The hidden platform window of screen; null when none can be made.
    virtual std::unique_ptr<WindowCore> createWindow(ScreenCore& screen, const char* title,
                                                     std::int32_t width, std::int32_t height) = 0;
    // The output for window, which has just taken the style of mode; null or
    // unusable when none can be made.
    virtual std::unique_ptr<ScreenOutput> createOutput(WindowCore& window, ScreenMode mode) = 0;
    // A repaint without a usable output; the result is paint's.
    virtual bool paintWithoutOutput() = 0;
    // The widest and tallest frame this platform can show.
    virtual std::int32_t largestFrameSide() { return 16384; }
    // True where the host calls each frame at its own pace (the browser's
    // animation frames): the screen then never sleeps for a frame rate.
    virtual bool hostPacesFrames() const { return false; }

  protected:
    ~ScreenPlatform() = default;
};

} // namespace duskhall
