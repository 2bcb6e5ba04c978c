#pragma once

#include "display/Screen.h"

#include <cstdint>

// Platform-independent state of a screen and the default behaviour of every
// operation. Platform screens derive from it and override what they need.
class ScreenCore : public Screen {
  public:
    static constexpr int TitleCapacity = 256; // 255 characters and the NUL

    ScreenCore();
    ~ScreenCore() override;
    ScreenCore(const ScreenCore&) = delete;
    ScreenCore& operator=(const ScreenCore&) = delete;

    bool isOpen() const override;
    // Closes first (the most derived close), then stores the arguments.
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
    Screen* owner() override;
    void setOwner(Screen* owner) override;

    // The per-frame step behind showFrame and showFloatFrame; exactly one pointer is set.
    virtual bool deliverFrame(const PackedPixel* pixels, const FloatPixel* floatPixels);
    // Back to the closed defaults; observer and owner are kept.
    virtual void resetState();
    virtual bool enterWindowed();
    virtual bool enterFullscreen();

    // The screen observers are handed: the owner when one is set, else this one.
    Screen& eventTarget();

  protected:
    void setScreenMode(ScreenMode mode) { screenMode_ = mode; }
    // The first steps of a platform screen's frame: a pending close closes the
    // screen (false: the frame ends there); a pending toggle switches between
    // windowed and fullscreen, whatever the switch returns.
    bool actOnRequests(bool& closeRequested, bool& toggleRequested);

  private:
    void resetCoreState();

    char title_[TitleCapacity];
    std::int32_t width_;
    std::int32_t height_;
    PixelMode pixelMode_;
    ScreenMode screenMode_;
    bool openFlag_;
    InputObserver* observer_ = nullptr;
    Screen* owner_ = nullptr;
};
