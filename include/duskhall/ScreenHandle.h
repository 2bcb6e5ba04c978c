#pragma once

#include <duskhall/Screen.h>

#include <memory>

namespace duskhall {

class ScreenCore; // the platform's screen behind a handle, private to the library

/// The screen an application creates and owns: it makes this platform's screen
/// (SDL2 on Linux, Win32 and Direct3D 9 on Windows), opens it at once and
/// forwards every operation to it. Ask isOpen() after constructing it (or loop
/// on showFrame). Without a platform screen it answers like a closed one. Not copyable.
class ScreenHandle : public Screen {
  public:
    /// Creates the platform screen, installs observer (may be null) and opens the
    /// screen with the arguments (see Screen::open), so the observer sees opened.
    ScreenHandle(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
                 PixelMode pixelMode, InputObserver* observer = nullptr);
    /// Takes a ready screen (may be null) and opens it; for the library's own tests.
    ScreenHandle(std::unique_ptr<ScreenCore> screen, const char* title, std::int32_t width,
                 std::int32_t height, ScreenMode mode, PixelMode pixelMode,
                 InputObserver* observer = nullptr);
    /// Closes the screen.
    ~ScreenHandle() override;
    ScreenHandle(const ScreenHandle&) = delete;
    ScreenHandle& operator=(const ScreenHandle&) = delete;

    bool isOpen() const override;
    bool open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
              PixelMode pixelMode) override;
    void close() override;
    bool showFrame(const PackedPixel* pixels) override;
    bool showFloatFrame(const FloatPixel* pixels) override;
    const char* title() const override;
    std::int32_t width() const override;
    std::int32_t height() const override;
    PixelMode pixelMode() const override;
    ScreenMode screenMode() const override;
    InputObserver* observer() const override;
    void setObserver(InputObserver* observer) override;
    /// Always the handle itself; setOwner does nothing.
    Screen* owner() override { return this; }
    void setOwner(Screen*) override {}
    void setVsync(bool on) override;
    bool vsync() const override;
    void setFrameRate(std::int32_t framesPerSecond) override;
    std::int32_t frameRate() const override;
    void setBuiltInKeys(bool on) override;
    bool builtInKeys() const override;
    bool setResizable(bool on) override;
    bool resizable() const override;
    bool setScaling(Scaling scaling) override;
    Scaling scaling() const override;
    bool setZoom(std::int32_t factor) override;
    bool setFrameSize(std::int32_t width, std::int32_t height) override;
    Size desktopSize() const override;
    float displayScale() const override;
    Modifiers modifiers() const override;
    bool setCursorVisible(bool visible) override;
    bool cursorVisible() const override;
    bool setRelativeMouse(bool on) override;
    bool relativeMouse() const override;
    bool setTitle(const char* title) override;
    bool setBorderless(bool on) override;
    bool borderless() const override;
    bool setAlwaysOnTop(bool on) override;
    bool alwaysOnTop() const override;
    bool setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) override;

    /// The screen behind the handle, or null; for the library's own tests.
    ScreenCore* implementation() const { return implementation_.get(); }

  private:
    std::unique_ptr<ScreenCore> implementation_;
};

} // namespace duskhall
