#pragma once

#include <duskhall/Screen.h>

#include "display/FramePacer.h"
#include "display/ScreenControl.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace duskhall {

class ScreenOutput;
class ScreenPlatform;
class WindowCore;
struct WindowPlacement;

// The state of a screen and its one lifecycle, the same on every platform: open,
// the mode switches with their fall-back, the request flags and the frame step
// that acts on them, pumping, showing frames, closing. A platform screen derives
// from it and supplies its hooks (ScreenPlatform); without them it is the plain
// state with default behaviour.
class ScreenCore : public Screen, public ScreenControl {
  public:
    static constexpr int TitleCapacity = 256; // 255 characters and the NUL

    ScreenCore();
    ~ScreenCore() override;
    ScreenCore(const ScreenCore&) = delete;
    ScreenCore& operator=(const ScreenCore&) = delete;

    bool isOpen() const override;
    // Closes first (the most derived close), then stores the arguments and, on a
    // platform, creates the window and enters the mode.
    bool open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
              PixelMode pixelMode) override;
    void close() override;
    bool showFrame(const PackedPixel* pixels) override;
    bool showFloatFrame(const FloatPixel* pixels) override;
    const char* title() const override { return title_; }
    std::int32_t width() const override { return width_; }
    std::int32_t height() const override { return height_; }
    PixelMode pixelMode() const override { return pixelMode_; }
    ScreenMode screenMode() const override { return screenMode_; }
    InputObserver* observer() const override { return observer_; }
    void setObserver(InputObserver* observer) override { observer_ = observer; }
    Screen* owner() override { return owner_; }
    void setOwner(Screen* owner) override { owner_ = owner; }
    // Passed to the output in use and to every output made later.
    void setVsync(bool on) override;
    bool vsync() const override { return vsync_; }
    void setFrameRate(std::int32_t framesPerSecond) override { pacer_.setRate(framesPerSecond); }
    std::int32_t frameRate() const override { return pacer_.rate(); }
    void setBuiltInKeys(bool on) override { builtInKeys_ = on; }
    bool builtInKeys() const override { return builtInKeys_; }

    // The per-frame step behind showFrame and showFloatFrame; exactly one pointer is set.
    virtual bool deliverFrame(const PackedPixel* pixels, const FloatPixel* floatPixels);
    // Back to the closed defaults; observer and owner are kept.
    virtual void resetState() { resetCoreState(); }
    bool enterWindowed() override { return enterMode(ScreenMode::Windowed); }
    bool enterFullscreen() override { return enterMode(ScreenMode::Fullscreen); }

    bool paint() override;
    void requestToggle() override;
    void requestClose() override;

    // Size and scaling (ScreenSize.cpp).
    bool setResizable(bool on) override;
    bool resizable() const override;
    bool setScaling(Scaling scaling) override;
    Scaling scaling() const override;
    bool setZoom(std::int32_t factor) override;
    bool setFrameSize(std::int32_t width, std::int32_t height) override;
    Size desktopSize() const override;
    float displayScale() const override;

    // Keyboard and mouse (ScreenInput.cpp).
    Modifiers modifiers() const override;
    bool setCursorVisible(bool visible) override;
    bool cursorVisible() const override;
    bool setRelativeMouse(bool on) override;
    bool relativeMouse() const override;
    // The window let go of the held pointer itself (focus lost, Escape, the
    // platform's own release): the setting turns off.
    void relativeMouseReleased() { relativeMouse_ = false; }

    // Window style (ScreenStyle.cpp). setTitle changes the title while the screen
    // is open, caption included. The style outlives close and is given to every
    // window the screen makes; fullscreen shows no frame whatever borderless says.
    bool setTitle(const char* title) override;
    bool setBorderless(bool on) override;
    bool borderless() const override;
    bool setAlwaysOnTop(bool on) override;
    bool alwaysOnTop() const override;
    bool setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) override;
    // The widest and tallest icon setIcon takes (what Windows' icons reach).
    static constexpr std::int32_t LargestIconSide = 256;

    // The screen observers are handed: the owner when one is set, else this one.
    Screen& eventTarget();
    bool closeRequested() const { return closeRequested_; }
    bool toggleRequested() const { return toggleRequested_; }

    // Held while a pump, a message handler or a step of the lifecycle runs. A
    // window closed meanwhile is kept (hidden, its platform window destroyed)
    // until the last of them has returned, so nothing up the stack is left on a
    // freed window; outside them a closed window is freed at once.
    class InUse {
      public:
        explicit InUse(ScreenCore& screen) : screen_(screen) { ++screen_.inUse_; }
        ~InUse() {
            --screen_.inUse_;
            screen_.freeRetiredWindows();
        }
        InUse(const InUse&) = delete;
        InUse& operator=(const InUse&) = delete;

      private:
        ScreenCore& screen_;
    };

  protected:
    explicit ScreenCore(ScreenPlatform& platform);
    WindowCore* windowCore() const { return window_.get(); }
    ScreenOutput* screenOutput() const { return output_.get(); }

  private:
    void resetCoreState();
    // False, with displayError set, for arguments no platform can open.
    bool acceptable(std::int32_t width, std::int32_t height, PixelMode pixelMode) const;
    void waitForFrameRate();
    bool enterMode(ScreenMode target);
    // Drops the output, restyles the window for mode (at placement, when given)
    // and creates the output; true when it is usable.
    bool switchTo(ScreenMode mode, const WindowPlacement* placement);
    void pumpMessages();
    bool windowUsable() const;
    // Keeps a yes/no setting of an open screen in kept and gives it to the window
    // through apply; refused, changing nothing, on a closed screen.
    bool keepWindowFlag(const char* operation, bool& kept, bool on,
                        void (WindowCore::*apply)(bool));
    // Drops the output and makes one for the frame size now in force; false, with
    // the screen closed, when none is usable.
    bool rebuildOutput();
    void freeRetiredWindows();
    // Gives a window just made the style the program asked for.
    void styleNewWindow(WindowCore& window);

    char title_[TitleCapacity];
    std::int32_t width_;
    std::int32_t height_;
    PixelMode pixelMode_;
    ScreenMode screenMode_;
    bool openFlag_;
    InputObserver* observer_ = nullptr;
    Screen* owner_ = nullptr;
    // Settings of the program rather than of one open: close keeps them.
    bool vsync_ = true;
    bool builtInKeys_ = true;
    bool resizable_ = false;
    Scaling scaling_ = Scaling::Fit;
    bool cursorVisible_ = true;
    bool relativeMouse_ = false;
    FramePacer pacer_;
    bool borderless_ = false;
    bool alwaysOnTop_ = false;
    std::vector<PackedPixel> icon_; // empty: the platform's own icon
    std::int32_t iconWidth_ = 0;
    std::int32_t iconHeight_ = 0;

    ScreenPlatform* platform_ = nullptr;
    std::unique_ptr<WindowCore> window_;
    std::unique_ptr<ScreenOutput> output_;
    bool closeRequested_ = false;
    bool toggleRequested_ = false;
    int inUse_ = 0;
    // The window being restyled, and a switch its handlers asked for meanwhile.
    const WindowCore* switching_ = nullptr;
    ScreenMode deferredMode_ = ScreenMode::Unspecified;
    std::vector<std::unique_ptr<WindowCore>> retiredWindows_;
};

} // namespace duskhall
