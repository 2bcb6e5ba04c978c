#include "display/PlatformScreen.h"
#include "display/win32/Win32Screen.h"

#include <d3d9.h>

namespace duskhall {

static_assert(D3D_SDK_VERSION == 32, "the Direct3D 9 runtime interface version");

std::unique_ptr<ScreenCore> createPlatformScreen() {
    // Stored as returned: without Direct3D 9 every open fails and closes the screen.
    return std::make_unique<Win32Screen>(Direct3DCreate9(32));
}

} // namespace duskhall
