#pragma once

#include "display/ScreenCore.h"

#include <memory>

// The display object the renderer holds: creates a screen, owns it and forwards
// every operation to it. Without a screen (creation failed) it answers like a
// closed one.
class ScreenHandle : public Screen {
  public:
    // Creates the platform screen and opens it with the arguments.
    ScreenHandle(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
                 PixelMode pixelMode);
    // Takes a ready screen (may be null) and opens it; for other screens and for tests.
    ScreenHandle(std::unique_ptr<ScreenCore> screen, const char* title, std::int32_t width,
                 std::int32_t height, ScreenMode mode, PixelMode pixelMode);
    ~ScreenHandle() override;
    ScreenHandle(const ScreenHandle&) = delete;
    ScreenHandle& operator=(const ScreenHandle&) = delete;

    bool isOpen() const override { return implementation_ && implementation_->isOpen(); }
    bool open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
              PixelMode pixelMode) override;
    void close() override;
    bool showFrame(const PackedPixel* pixels) override {
        return implementation_ && implementation_->showFrame(pixels);
    }
    bool showFloatFrame(const FloatPixel* pixels) override {
        return implementation_ && implementation_->showFloatFrame(pixels);
    }
    const char* title() const override { return implementation_ ? implementation_->title() : ""; }
    std::int32_t width() const override { return implementation_ ? implementation_->width() : 0; }
    std::int32_t height() const override { return implementation_ ? implementation_->height() : 0; }
    PixelMode pixelMode() const override {
        return implementation_ ? implementation_->pixelMode() : PixelMode::Float;
    }
    ScreenMode screenMode() const override {
        return implementation_ ? implementation_->screenMode() : ScreenMode::Unspecified;
    }
    InputObserver* observer() const override {
        return implementation_ ? implementation_->observer() : nullptr;
    }
    void setObserver(InputObserver* observer) override;
    // Always the handle itself; setOwner does nothing.
    Screen* owner() override { return this; }
    void setOwner(Screen*) override {}

    // Forwards to the screen's setTitle; nothing without a screen.
    void setTitle(const char* title);

    // The screen behind the handle, or null.
    ScreenCore* implementation() const { return implementation_.get(); }

  private:
    std::unique_ptr<ScreenCore> implementation_;
};
