#pragma once

#include "display/ScreenControl.h"
#include "display/ScreenCore.h"
#include "display/win32/AppWindow.h"
#include "output/Direct3DOutput.h"

#include <d3d9.h>

#include <memory>
#include <vector>

// The Windows screen: a Win32 window showing frames through Direct3D 9.
class Win32Screen : public ScreenCore, public ScreenControl {
  public:
    // Takes over one reference to the root object; null when Direct3D 9 is missing,
    // in which case every open fails.
    explicit Win32Screen(IDirect3D9* direct3d);
    ~Win32Screen() override;

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

    IDirect3D9* direct3d() const { return direct3d_; }
    AppWindow* window() const { return window_.get(); }
    Direct3DOutput* output() const { return output_.get(); }
    bool closeRequested() const { return closeRequested_; }
    bool toggleRequested() const { return toggleRequested_; }

  private:
    bool enterMode(ScreenMode target);
    // Restyles the window for the mode and builds a new output; true when usable.
    bool buildOutput(ScreenMode target, const AppWindow::Placement* windowedPlacement);
    void destroyOutput();
    void pumpMessages();
    void freeRetiredWindows();
    void fillBlack();

    IDirect3D9* direct3d_;
    std::unique_ptr<AppWindow> window_;
    std::unique_ptr<Direct3DOutput> output_;
    bool closeRequested_ = false;
    bool toggleRequested_ = false;
    // Closed windows wait here until no pump or handler of theirs can still be
    // running (the next frame, or the end of the outermost pump), so a close from
    // inside a message handler never leaves the pump on a freed record.
    int pumpDepth_ = 0;
    std::vector<std::unique_ptr<AppWindow>> retiredWindows_;
};
