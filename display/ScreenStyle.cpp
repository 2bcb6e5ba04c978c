#include "display/ScreenCore.h"

#include "display/BoundedCopy.h"
#include "display/DisplayError.h"
#include "display/WindowCore.h"

#include <cstdio>

namespace duskhall {

// The window style of an open screen: title, frame, z-order, icon.

bool ScreenCore::setTitle(const char* title) {
    if (!isOpen()) {
        return refuseOnClosedScreen("setTitle");
    }
    copyBounded(title_, sizeof title_, title);
    if (windowUsable()) {
        window_->setCaption(title_);
    }
    return true;
}

bool ScreenCore::setBorderless(bool on) {
    return keepWindowFlag("setBorderless", borderless_, on, &WindowCore::setBorderless);
}

bool ScreenCore::borderless() const {
    return borderless_;
}

bool ScreenCore::setAlwaysOnTop(bool on) {
    return keepWindowFlag("setAlwaysOnTop", alwaysOnTop_, on, &WindowCore::setTopmost);
}

bool ScreenCore::alwaysOnTop() const {
    return alwaysOnTop_;
}

bool ScreenCore::setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) {
    if (!isOpen()) {
        return refuseOnClosedScreen("setIcon");
    }
    if (pixels == nullptr) {
        return refuseOperation("setIcon", "the pixels are null");
    }
    if (width < 1 || width > LargestIconSide || height < 1 || height > LargestIconSide) {
        char reason[120];
        std::snprintf(reason, sizeof reason,
                      "an icon of %ld x %ld pixels; each side must be 1 to %ld",
                      static_cast<long>(width), static_cast<long>(height),
                      static_cast<long>(LargestIconSide));
        return refuseOperation("setIcon", reason);
    }
    if (windowUsable() && !window_->setIcon(pixels, width, height)) {
        return false; // the system refused it and said why
    }
    icon_.assign(pixels, pixels + static_cast<std::size_t>(width) * height);
    iconWidth_ = width;
    iconHeight_ = height;
    return true;
}

void ScreenCore::styleNewWindow(WindowCore& window) {
    // Read by the first windowed style; the window has none yet.
    window.borderless = borderless_;
    if (alwaysOnTop_) {
        window.setTopmost(true);
    }
    // A kept icon the new window refused has left the platform's own.
    if (!icon_.empty()) {
        window.setIcon(icon_.data(), iconWidth_, iconHeight_);
    }
}

} // namespace duskhall
