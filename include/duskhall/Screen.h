#pragma once

#include <duskhall/PixelTypes.h>

#include <cstdint>

namespace duskhall {

class InputObserver;

// How a screen presents its frames. Values other than 0 and 1 ask for fullscreen.
enum class ScreenMode : std::int32_t {
    Unspecified = 0, // open takes it as Windowed
    Windowed = 1,    // a framed desktop window
    Fullscreen = 2,  // the whole screen: an exclusive mode on Windows, the desktop on Linux
};

// Which device formats the screen may choose among. Integer suits PackedPixel
// frames; Float tries a floating-point device format first, for FloatPixel
// frames. Either kind of frame is shown in either mode.
enum class PixelMode : std::int32_t {
    Integer = 0,
    Float = 1,
};

// A display: a window, or the whole screen, showing frames of width x height
// pixels. Programs create a ScreenHandle; observers are handed the screen as a
// Screen&. Use a screen from the thread that created it. The order of the
// operations is part of the interface: keep it.
class Screen {
  public:
    virtual ~Screen() = default;
    // True from a successful open until close, the user's close (Escape, the
    // close box) or a mode switch that left no usable device.
    virtual bool isOpen() const = 0;
    // Closes the screen if it is open, then opens it with these arguments. False,
    // with the screen closed, when it cannot open: displayError() says why.
    virtual bool open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
                      PixelMode pixelMode) = 0;
    // Closes the window and releases the device; calling it again does no harm.
    virtual void close() = 0;
    // One step of the frame loop: acts on a close or fullscreen toggle the user
    // asked for, delivers pending input to the observer, then converts and shows
    // the frame. Both take width x height pixels, row-major, read during the call
    // only. Neither waits. False for a null frame, or when this call closed the
    // screen: loop on isOpen().
    virtual bool showFrame(const PackedPixel* pixels) = 0;
    virtual bool showFloatFrame(const FloatPixel* pixels) = 0;
    // What open was given; the title is the screen's own copy, emptied by close.
    virtual const char* title() const = 0;
    virtual std::int32_t width() const = 0;
    virtual std::int32_t height() const = 0;
    virtual PixelMode pixelMode() const = 0;
    // The mode in force (Unspecified while closed).
    virtual ScreenMode screenMode() const = 0;
    // The object that receives input events, or null. It is borrowed: keep it
    // alive while it is installed. A new one takes effect for the next event.
    virtual InputObserver* observer() const = 0;
    virtual void setObserver(InputObserver* observer) = 0;
    // The object observers are given instead of the implementation itself; a
    // ScreenHandle answers itself and ignores setOwner.
    virtual Screen* owner() = 0;
    virtual void setOwner(Screen* owner) = 0;
};

} // namespace duskhall
