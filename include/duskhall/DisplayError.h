#pragma once

namespace duskhall {

/// Why the last attempt to open a screen or switch its mode failed, in words for
/// the user (for instance "no display: neither DISPLAY nor WAYLAND_DISPLAY is
/// set"); empty when no reason is known. The text stays until the next failure.
const char* displayError();

} // namespace duskhall
