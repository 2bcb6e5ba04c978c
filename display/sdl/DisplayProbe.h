#pragma once

namespace duskhall {

// True when DISPLAY or WAYLAND_DISPLAY names a display to show windows on.
bool displayAvailable();

} // namespace duskhall
