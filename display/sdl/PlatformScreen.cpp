#include "display/PlatformScreen.h"

#include "display/sdl/SdlScreen.h"

namespace duskhall {

std::unique_ptr<ScreenCore> createPlatformScreen() {
    return std::make_unique<SdlScreen>();
}

} // namespace duskhall
