#pragma once

#include <duskhall/Modifiers.h>
#include <duskhall/PixelTypes.h>

#include <cstdint>

namespace duskhall {

class InputObserver;

/// How a screen presents its frames. Values other than 0 and 1 ask for fullscreen.
enum class ScreenMode : std::int32_t {
    Unspecified = 0, ///< open takes it as Windowed
    Windowed = 1,    ///< a framed desktop window
    Fullscreen = 2,  ///< the whole screen: an exclusive mode on Windows, the desktop on Linux
};

/// Which device formats the screen may choose among. Integer suits PackedPixel
/// frames; Float tries a floating-point device format first, for FloatPixel
/// frames. Either kind of frame is shown in either mode.
enum class PixelMode : std::int32_t {
    Integer = 0,
    Float = 1,
};

/// How a frame fills a window or screen whose size differs from the frame's.
enum class Scaling : std::int32_t {
    Fit = 0,     ///< the largest size of the frame's shape that fits, black bars beside it
    Integer = 1, ///< the largest whole multiple that fits, centred, black around: crisp pixels
    Stretch = 2, ///< the whole window, whatever its shape
};

/// A width and a height in pixels.
struct Size {
    std::int32_t width = 0;  ///< Pixels across.
    std::int32_t height = 0; ///< Pixels down.
};

/// A display: a window, or the whole screen, showing frames of width x height
/// pixels. Programs create a ScreenHandle; observers are handed the screen as a
/// Screen&. Any number of screens may be open at once, each with its own input.
/// Use a screen, and every screen of the program, from the thread that created
/// the first one. The order of the operations is part of the interface: keep it.
class Screen {
  public:
    virtual ~Screen() = default;
    /// True from a successful open until close, the user's close (Escape, the
    /// close box) or a mode switch that left no usable device.
    virtual bool isOpen() const = 0;
    /// Closes the screen if it is open, then opens it with these arguments. False,
    /// with the screen closed, when it cannot open: displayError() says why.
    /// Refused: a width or height outside 1 to the platform's largest texture side,
    /// a pixelMode other than Integer and Float. A null title is an empty one.
    virtual bool open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
                      PixelMode pixelMode) = 0;
    /// Closes the window and releases the device; calling it again does no harm.
    virtual void close() = 0;
    /// One step of the frame loop: acts on a close or fullscreen toggle the user
    /// asked for, waits for the frame rate's next deadline when one is set,
    /// delivers pending input to the observer, then converts and shows the frame
    /// (waiting for the display's refresh while vsync is on). Both take width x
    /// height pixels, row-major, read during the call only. False whenever the
    /// screen is not open afterwards (closed, never opened, failed to open, closed
    /// by this call) and for a null frame (displayError() then says so), so
    /// `while (screen.showFrame(pixels))` ends when the screen does.
    virtual bool showFrame(const PackedPixel* pixels) = 0;
    /// showFrame for a frame of FloatPixel, with the same steps and answers.
    virtual bool showFloatFrame(const FloatPixel* pixels) = 0;
    /// What open was given; the title is the screen's own copy, emptied by close.
    virtual const char* title() const = 0;
    /// The frame's width in pixels.
    virtual std::int32_t width() const = 0;
    /// The frame's height in pixels.
    virtual std::int32_t height() const = 0;
    /// The device formats open was asked for.
    virtual PixelMode pixelMode() const = 0;
    /// The mode in force (Unspecified while closed).
    virtual ScreenMode screenMode() const = 0;
    /// The object that receives input events, or null. It is borrowed: keep it
    /// alive while it is installed. A new one takes effect for the next event.
    virtual InputObserver* observer() const = 0;
    /// Installs the object that receives input events (null for none).
    virtual void setObserver(InputObserver* observer) = 0;
    /// The object observers are given instead of the implementation itself; a
    /// ScreenHandle answers itself and ignores setOwner.
    virtual Screen* owner() = 0;
    /// Sets what owner() answers; a ScreenHandle ignores it.
    virtual void setOwner(Screen* owner) = 0;

    /// Frame pacing; both settings survive mode switches, close and reopening.
    /// Vsync (on by default): showing a frame waits for the display's refresh
    /// (SDL: the renderer's vsync; Direct3D: the default present interval, the
    /// immediate one when off). The browser always paces by its animation frames
    /// and ignores it.
    virtual void setVsync(bool on) = 0;
    /// Whether vsync is on.
    virtual bool vsync() const = 0;
    /// The most frames a second showFrame lets through: it sleeps until the next
    /// frame's deadline on a steady clock, deadlines a whole period apart; after a
    /// late frame only the next one comes early, by less than a period, and a stall
    /// longer than a period is not caught up. 0, the default,
    /// means no limit; negative values are taken as 0. In the browser the page's
    /// main loop sets the pace instead.
    virtual void setFrameRate(std::int32_t framesPerSecond) = 0;
    /// The frame rate limit, 0 for none.
    virtual std::int32_t frameRate() const = 0;

    /// The screen's own keys (on by default; kept over close and reopening): Escape
    /// closes, Alt+Enter switches between windowed and fullscreen, and on Linux and
    /// in the browser Ctrl+1/2/4/8 zoom, Ctrl+F switches and Ctrl+C centres while
    /// the matching system-menu entry would be offered. A shortcut the screen acts
    /// on is not also delivered as a key (Escape is: keyDown 27, then the close).
    /// Off, all of them are ordinary keys; Windows' system menu keeps its entries.
    virtual void setBuiltInKeys(bool on) = 0;
    /// Whether the screen's own keys are on.
    virtual bool builtInKeys() const = 0;

    /// The operations below act on an open screen. Each returns false and changes
    /// nothing, with displayError() saying why, on a closed screen and for
    /// arguments it refuses. What they set is kept over mode switches and reopening.

    /// Size and scaling.
    /// Whether the user may resize the window by its edges (off by default).
    virtual bool setResizable(bool on) = 0;
    /// Whether the user may resize the window.
    virtual bool resizable() const = 0;
    /// How the frame fills a window (or screen) of another size; Fit by default.
    /// Fullscreen follows the same rule. Integer shows a frame larger than the
    /// window as Fit does. InputObserver::resized tells of each new window size.
    virtual bool setScaling(Scaling scaling) = 0;
    /// How the frame fills the window.
    virtual Scaling scaling() const = 0;
    /// Sizes the window's client area to factor times the frame, as the zoom
    /// commands do; false, and no change, when that does not fit the desktop, for
    /// a factor below 1, in fullscreen and while minimised or maximised.
    virtual bool setZoom(std::int32_t factor) = 0;
    /// Later frames have width x height pixels; the window keeps its size and the
    /// picture is scaled into it. width() and height() answer the new size. Sizes
    /// open refuses are refused; so is one the device cannot take, the old size
    /// staying.
    virtual bool setFrameSize(std::int32_t width, std::int32_t height) = 0;
    /// The desktop the window is on, in pixels; {0, 0} when closed.
    virtual Size desktopSize() const = 0;
    /// 1.0 normally, 2.0 on a doubled high-DPI desktop; 1.0 when closed.
    virtual float displayScale() const = 0;

    /// Keyboard and mouse.
    /// The modifier keys held now.
    virtual Modifiers modifiers() const = 0;
    /// Shows or hides the pointer over the window (shown by default; fullscreen
    /// always hides it).
    virtual bool setCursorVisible(bool visible) = 0;
    /// Whether the pointer shows over the window.
    virtual bool cursorVisible() const = 0;
    /// Hides and holds the pointer: moves then come as MouseState::dx and dy only
    /// (for looking around). Off by default. Losing the focus lets go of it and
    /// turns it off, and so does the first Escape while the built-in keys are on
    /// (instead of closing the screen); take it again on the next click, say.
    virtual bool setRelativeMouse(bool on) = 0;
    /// Whether the pointer is held for the relative mouse.
    virtual bool relativeMouse() const = 0;

    /// Window style.
    /// The title shown in the caption (UTF-8; null is empty; 255 bytes kept, cut
    /// before a character the cut would split). The browser shows it as the
    /// page's title. Each open brings its own title.
    virtual bool setTitle(const char* title) = 0;
    /// A window without frame and caption (off by default). Fullscreen has none
    /// whatever it says; the client area keeps its place when the frame goes or
    /// comes back. The browser's canvas has no frame: kept, nothing changes.
    virtual bool setBorderless(bool on) = 0;
    /// Whether the window is without frame and caption.
    virtual bool borderless() const = 0;
    /// A window kept above the others (off by default); the browser and Wayland
    /// offer no such thing: kept, nothing changes.
    virtual bool setAlwaysOnTop(bool on) = 0;
    /// Whether the window is kept above the others.
    virtual bool alwaysOnTop() const = 0;
    /// The window's icon: width x height pixels 0xAARRGGBB (alpha 255 opaque),
    /// row by row, copied; each side 1 to 256. Refused, keeping the last good
    /// icon: null pixels, another size, an icon the system refuses. The browser
    /// makes it the page's icon.
    virtual bool setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) = 0;
};

} // namespace duskhall
