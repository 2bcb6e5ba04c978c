#pragma once

#include <duskhall/PixelTypes.h>
#include <duskhall/Screen.h>

namespace duskhall {

// What a screen shows its frames through: a platform's device or renderer for
// one window in one mode. The screen owns it and drops it before its window.
class ScreenOutput {
  public:
    virtual ~ScreenOutput() = default;
    // False when frames cannot be shown (no device, a lost device).
    virtual bool usable() = 0;
    // Converts one frame (exactly one pointer set) and presents it.
    virtual bool update(const PackedPixel* pixels, const FloatPixel* floatPixels) = 0;
    // Shows the last frame again, as a repaint does.
    virtual bool present() = 0;
    // Whether presenting waits for the display's refresh; outputs that cannot
    // choose ignore it.
    virtual void setVsync(bool on) { (void)on; }
    // How the frame fills the client area (pictureRect); outputs whose window
    // lays the picture out ignore it.
    virtual void setScaling(Scaling scaling) { (void)scaling; }
};

} // namespace duskhall
