#pragma once

#include "display/ScreenCore.h"
#include "display/ScreenPlatform.h"
#include "display/win32/AppWindow.h"
#include "display/win32/Direct3DOutput.h"

#include <d3d9.h>

namespace duskhall {

// The Windows screen: a Win32 window showing frames through Direct3D 9. The
// lifecycle is ScreenCore's; this class supplies the window and the device.
class Win32Screen : private ScreenPlatform, public ScreenCore {
  public:
    // Takes over one reference to the root object; null when Direct3D 9 is missing,
    // in which case every open fails.
    explicit Win32Screen(IDirect3D9* direct3d);
    ~Win32Screen() override;

    IDirect3D9* direct3d() const { return direct3d_; }
    AppWindow* window() const { return static_cast<AppWindow*>(windowCore()); }
    Direct3DOutput* output() const { return static_cast<Direct3DOutput*>(screenOutput()); }

  private:
    std::unique_ptr<WindowCore> createWindow(ScreenCore& screen, const char* title,
                                             std::int32_t width, std::int32_t height) override;
    std::unique_ptr<ScreenOutput> createOutput(WindowCore& window, ScreenMode mode) override;
    // Fills the client area black.
    bool paintWithoutOutput() override;
    // The adapter's largest texture side, at most 16384.
    std::int32_t largestFrameSide() override;

    IDirect3D9* direct3d_;
};

} // namespace duskhall
