#include "display/ScreenCore.h"

#include "display/DisplayError.h"
#include "display/ScreenOutput.h"
#include "display/ScreenPlatform.h"
#include "display/WindowCore.h"

#include <cstdio>

namespace duskhall {

// Size and scaling of an open screen.

namespace {

bool refuse(const char* reason) {
    setDisplayError(reason);
    return false;
}

bool knownScaling(Scaling scaling) {
    return scaling == Scaling::Fit || scaling == Scaling::Integer || scaling == Scaling::Stretch;
}

} // namespace

bool ScreenCore::setResizable(bool on) {
    return keepWindowFlag("setResizable", resizable_, on, &WindowCore::setResizable);
}

bool ScreenCore::resizable() const {
    return resizable_;
}

bool ScreenCore::setScaling(Scaling scaling) {
    if (!isOpen()) {
        return refuseOnClosedScreen("setScaling");
    }
    if (!knownScaling(scaling)) {
        char reason[128];
        std::snprintf(reason, sizeof reason,
                      "scaling %ld is none of Scaling::Fit (0), Integer (1) and Stretch (2)",
                      static_cast<long>(scaling));
        return refuse(reason);
    }
    scaling_ = scaling;
    if (output_ != nullptr) {
        output_->setScaling(scaling);
    }
    if (windowUsable()) {
        window_->pictureChanged();
    }
    return true;
}

Scaling ScreenCore::scaling() const {
    return scaling_;
}

bool ScreenCore::setZoom(std::int32_t factor) {
    if (!isOpen()) {
        return refuseOnClosedScreen("setZoom");
    }
    char reason[192];
    if (factor < 1) {
        std::snprintf(reason, sizeof reason, "zoom factor %ld is below 1",
                      static_cast<long>(factor));
        return refuse(reason);
    }
    if (!windowUsable()) {
        return true; // no window to size
    }
    const MenuState state = window_->menuState();
    if (!zoomOffered(factor, state)) {
        if (!state.windowed) {
            return refuse("zoom sizes a window: switch the screen to windowed first");
        }
        if (state.minimised || state.maximised) {
            return refuse("zoom sizes a window neither minimised nor maximised");
        }
        std::snprintf(
            reason, sizeof reason,
            "zoom %ld makes the %ld x %ld frame %lld x %lld, which does not fit inside "
            "the %ld x %ld desktop",
            static_cast<long>(factor), static_cast<long>(width_), static_cast<long>(height_),
            static_cast<long long>(width_) * factor, static_cast<long long>(height_) * factor,
            static_cast<long>(state.screen.width), static_cast<long>(state.screen.height));
        return refuse(reason);
    }
    InUse inUse(*this);
    window_->zoom(static_cast<float>(factor));
    if (windowUsable()) {
        window_->rebuildSystemMenu();
        window_->noteClientSize();
    }
    return true;
}

bool ScreenCore::setFrameSize(std::int32_t width, std::int32_t height) {
    if (!isOpen()) {
        return refuseOnClosedScreen("setFrameSize");
    }
    if (!acceptable(width, height, pixelMode_)) {
        return false;
    }
    if (width == width_ && height == height_) {
        return true;
    }
    if (!windowUsable()) {
        width_ = width;
        height_ = height;
        return true;
    }
    if (switching_ == window_.get()) {
        return refuse("setFrameSize cannot run while the screen switches modes");
    }
    InUse inUse(*this);
    WindowCore* const window = window_.get();
    const std::int32_t oldWidth = width_;
    const std::int32_t oldHeight = height_;
    const auto resize = [&](std::int32_t w, std::int32_t h) {
        width_ = w;
        height_ = h;
        window->width = w;
        window->height = h;
        return rebuildOutput();
    };
    if (!resize(width, height)) {
        // The reason stays; the old size comes back, or the screen ends as a
        // failed mode switch would end it.
        if (window_.get() == window && !window->destroyed && !resize(oldWidth, oldHeight) &&
            window_.get() == window) {
            close();
        }
        return false;
    }
    window->rebuildSystemMenu();
    window->pictureChanged();
    return true;
}

bool ScreenCore::rebuildOutput() {
    WindowCore* const window = window_.get();
    output_.reset(); // two devices never exist at once
    auto output = platform_->createOutput(*window, screenMode_);
    const bool usable =
        window_.get() == window && !window->destroyed && output != nullptr && output->usable();
    if (window_.get() == window) {
        output_ = std::move(output);
        if (output_ != nullptr) {
            output_->setScaling(scaling_);
        }
    }
    return usable;
}

Size ScreenCore::desktopSize() const {
    if (!isOpen() || !windowUsable()) {
        return Size{};
    }
    const WindowSize size = window_->desktopSize();
    return Size{size.width, size.height};
}

float ScreenCore::displayScale() const {
    if (!isOpen() || !windowUsable()) {
        return 1.0f;
    }
    return window_->displayScale();
}

} // namespace duskhall
