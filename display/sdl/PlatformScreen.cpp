#include "display/PlatformScreen.h"

#include "display/sdl/SdlScreen.h"

std::unique_ptr<ScreenCore> createPlatformScreen() {
    return std::make_unique<SdlScreen>();
}
