#include "display/sdl/DisplayProbe.h"

#include <cstdlib>

namespace duskhall {

namespace {

bool environmentSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

} // namespace

bool displayAvailable() {
    return environmentSet("DISPLAY") || environmentSet("WAYLAND_DISPLAY");
}

} // namespace duskhall
