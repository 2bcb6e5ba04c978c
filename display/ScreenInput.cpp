#include "display/ScreenCore.h"

#include "display/DisplayError.h"

namespace duskhall {

// Keyboard and mouse settings of an open screen.

namespace {

bool notYet(const char* what) {
    setDisplayError(what);
    return false;
}

} // namespace

Modifiers ScreenCore::modifiers() const {
    return Modifiers{};
}

bool ScreenCore::setCursorVisible(bool) {
    return notYet("setCursorVisible is not built yet");
}

bool ScreenCore::cursorVisible() const {
    return true;
}

bool ScreenCore::setRelativeMouse(bool) {
    return notYet("setRelativeMouse is not built yet");
}

bool ScreenCore::relativeMouse() const {
    return false;
}

} // namespace duskhall
