#pragma once

#include "display/ScreenControl.h"
#include "display/ScreenCore.h"
#include "display/web/WebOutput.h"
#include "display/web/WebWindow.h"

#include <memory>

// The browser screen: the page's canvas shows the frames through WebGL, and the
// DOM's events arrive as the same window messages as on the other platforms.
// Follows the same open, close and per-frame sequences as every screen; the
// caller drives the frames from the browser's animation-frame callback.
class WebScreen : public ScreenCore, public ScreenControl {
  public:
    // canvas: a selector for the page's canvas element.
    explicit WebScreen(const char* canvas = "#canvas");
    ~WebScreen() override;

    bool open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
              PixelMode pixelMode) override;
    void close() override;
    void setObserver(InputObserver* observer) override;
    bool deliverFrame(const PackedPixel* pixels, const FloatPixel* floatPixels) override;
    void resetState() override;
    bool enterWindowed() override;
    bool enterFullscreen() override;

    bool paint() override;
    void requestToggle() override;
    void requestClose() override;

  private:
    bool enterMode(ScreenMode target);
    bool fail(const char* what);
    void pumpMessages();

    const char* canvas_;
    std::unique_ptr<WebWindow> window_;
    std::unique_ptr<WebOutput> output_;
    bool closeRequested_ = false;
    bool toggleRequested_ = false;
    // A close from inside the pump (an observer, a failed switch) must not free
    // the window whose event is being handled: it waits here until the pump ends.
    int pumpDepth_ = 0;
    std::unique_ptr<WebOutput> retiredOutput_;
    std::unique_ptr<WebWindow> retiredWindow_;
};
