#include "display/ScreenCore.h"

#include "display/BoundedCopy.h"
#include "display/DisplayError.h"
#include "display/WindowCore.h"

namespace duskhall {

// The window style of an open screen: title, frame, z-order, icon.

namespace {

bool notYet(const char* what) {
    setDisplayError(what);
    return false;
}

} // namespace

bool ScreenCore::setTitle(const char* title) {
    copyBounded(title_, sizeof title_, title);
    if (window_ != nullptr && !window_->destroyed) {
        window_->setCaption(title_);
    }
    return true;
}

bool ScreenCore::setBorderless(bool) {
    return notYet("setBorderless is not built yet");
}

bool ScreenCore::borderless() const {
    return false;
}

bool ScreenCore::setAlwaysOnTop(bool) {
    return notYet("setAlwaysOnTop is not built yet");
}

bool ScreenCore::alwaysOnTop() const {
    return false;
}

bool ScreenCore::setIcon(const PackedPixel*, std::int32_t, std::int32_t) {
    return notYet("setIcon is not built yet");
}

} // namespace duskhall
