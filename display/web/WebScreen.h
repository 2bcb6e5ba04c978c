#pragma once

#include "display/ScreenCore.h"
#include "display/ScreenPlatform.h"
#include "display/web/WebOutput.h"
#include "display/web/WebWindow.h"

namespace duskhall {

// The browser screen: the page's canvas shows the frames through WebGL, and the
// DOM's events arrive as the same window messages as on the other platforms.
// The lifecycle is ScreenCore's; this class supplies the canvas and the output.
// The caller drives the frames from the browser's animation-frame callback. One
// screen at a time: a second open while one is open fails.
class WebScreen : private ScreenPlatform, public ScreenCore {
  public:
    // canvas: a selector for the page's canvas element.
    explicit WebScreen(const char* canvas = "#canvas");

    WebWindow* window() const { return static_cast<WebWindow*>(windowCore()); }
    WebOutput* output() const { return static_cast<WebOutput*>(screenOutput()); }

  private:
    std::unique_ptr<WindowCore> createWindow(ScreenCore& screen, const char* title,
                                             std::int32_t width, std::int32_t height) override;
    std::unique_ptr<ScreenOutput> createOutput(WindowCore& window, ScreenMode mode) override;
    bool paintWithoutOutput() override { return false; }
    std::int32_t largestFrameSide() override;
    // The page's main loop calls each frame at the browser's animation frames.
    bool hostPacesFrames() const override { return true; }

    const char* canvas_;
};

} // namespace duskhall
