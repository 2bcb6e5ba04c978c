#include "display/ScreenCore.h"

#include "display/DisplayError.h"

namespace duskhall {

// Size and scaling of an open screen.

namespace {

bool notYet(const char* what) {
    setDisplayError(what);
    return false;
}

} // namespace

bool ScreenCore::setResizable(bool) {
    return notYet("setResizable is not built yet");
}

bool ScreenCore::resizable() const {
    return false;
}

bool ScreenCore::setScaling(Scaling) {
    return notYet("setScaling is not built yet");
}

Scaling ScreenCore::scaling() const {
    return Scaling::Fit;
}

bool ScreenCore::setZoom(std::int32_t) {
    return notYet("setZoom is not built yet");
}

bool ScreenCore::setFrameSize(std::int32_t, std::int32_t) {
    return notYet("setFrameSize is not built yet");
}

Size ScreenCore::desktopSize() const {
    return Size{};
}

float ScreenCore::displayScale() const {
    return 1.0f;
}

} // namespace duskhall
