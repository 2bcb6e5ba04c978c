#include "display/PlatformScreen.h"

#include "display/web/WebScreen.h"

std::unique_ptr<ScreenCore> createPlatformScreen() {
    return std::make_unique<WebScreen>();
}
