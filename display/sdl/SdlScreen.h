#pragma once

#include "display/ScreenControl.h"
#include "display/ScreenCore.h"
#include "display/sdl/SdlOutput.h"
#include "display/sdl/SdlWindow.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// The Linux screen: an SDL window whose client area shows the frames through an
// SDL renderer. Follows the same open, close and per-frame sequences as every
// screen; input arrives as the same window messages.
class SdlScreen : public ScreenCore, public ScreenControl {
  public:
    SdlScreen();
    ~SdlScreen() override;

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

    // Makes later opens skip a texture format, as a renderer without it would.
    void refuseTextureFormat(std::uint32_t sdlFormat);

    SdlWindow* window() const { return window_.get(); }
    SdlOutput* output() const { return output_.get(); }
    bool closeRequested() const { return closeRequested_; }
    bool toggleRequested() const { return toggleRequested_; }

  private:
    bool enterMode(ScreenMode target);
    void applyStyle(ScreenMode mode);
    bool fail(const char* what);
    void pumpMessages();

    std::unique_ptr<SdlWindow> window_;
    std::unique_ptr<SdlOutput> output_;
    bool closeRequested_ = false;
    bool toggleRequested_ = false;
    // A close from inside the pump (a failed mode switch, an observer) must not
    // free the window whose event is being handled: it waits here until the pump
    // ends. One close may be followed by an open and another close before then.
    int pumpDepth_ = 0;
    std::vector<std::unique_ptr<SdlOutput>> retiredOutputs_;
    std::vector<std::unique_ptr<SdlWindow>> retiredWindows_;
    std::array<std::uint32_t, 5> refused_{};
    int refusedCount_ = 0;
};
