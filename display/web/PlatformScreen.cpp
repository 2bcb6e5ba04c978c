#include "display/PlatformScreen.h"

#include "display/web/WebScreen.h"

namespace duskhall {

std::unique_ptr<ScreenCore> createPlatformScreen() {
    return std::make_unique<WebScreen>();
}

} // namespace duskhall
