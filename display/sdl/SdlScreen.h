#pragma once

#include "display/ScreenCore.h"
#include "display/ScreenPlatform.h"
#include "display/sdl/SdlOutput.h"
#include "display/sdl/SdlWindow.h"

#include <cstdint>

namespace duskhall {

// The Linux screen: an SDL window whose client area shows the frames through an
// SDL renderer. The lifecycle is ScreenCore's; this class supplies the window
// and the output.
class SdlScreen : private ScreenPlatform, public ScreenCore {
  public:
    SdlScreen();

    // Makes later opens skip a texture format, as a renderer without it would.
    void refuseTextureFormat(std::uint32_t sdlFormat);
    // Makes later opens fail to create textures of a format the renderer offers.
    void failTextureCreation(std::uint32_t sdlFormat);

    SdlWindow* window() const { return static_cast<SdlWindow*>(windowCore()); }
    SdlOutput* output() const { return static_cast<SdlOutput*>(screenOutput()); }

  private:
    std::unique_ptr<WindowCore> createWindow(ScreenCore& screen, const char* title,
                                             std::int32_t width, std::int32_t height) override;
    std::unique_ptr<ScreenOutput> createOutput(WindowCore& window, ScreenMode mode) override;
    bool paintWithoutOutput() override { return false; }

    TextureRestrictions textures_;
};

} // namespace duskhall
