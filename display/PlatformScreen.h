#pragma once

#include "display/ScreenCore.h"

#include <memory>

namespace duskhall {

// The screen of the platform this program is built for (SDL on Linux, Win32 and
// Direct3D 9 on Windows). Null when it cannot be created.
std::unique_ptr<ScreenCore> createPlatformScreen();

} // namespace duskhall
