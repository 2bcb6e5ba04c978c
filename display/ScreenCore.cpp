#include "display/ScreenCore.h"

#include <duskhall/InputObserver.h>

#include "display/BoundedCopy.h"
#include "display/ScreenOutput.h"
#include "display/ScreenPlatform.h"
#include "display/WindowCore.h"

namespace duskhall {

ScreenCore::ScreenCore() {
    resetCoreState();
    // Room for a close, an open and a second close inside one handler, so the
    // usual cases never allocate during a frame.
    retiredWindows_.reserve(2);
}

ScreenCore::ScreenCore(ScreenPlatform& platform) : ScreenCore() {
    platform_ = &platform;
}

ScreenCore::~ScreenCore() {
    // Our own close and reset: the derived parts are already gone.
    inUse_ = 0;
    ScreenCore::close();
    observer_ = nullptr;
    owner_ = nullptr;
}

void ScreenCore::resetCoreState() {
    title_[0] = '\0';
    width_ = 0;
    height_ = 0;
    pixelMode_ = PixelMode::Float;
    screenMode_ = ScreenMode::Unspecified;
    openFlag_ = false;
    closeRequested_ = false;
    toggleRequested_ = false;
}

bool ScreenCore::isOpen() const {
    return openFlag_;
}

bool ScreenCore::open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
                      PixelMode pixelMode) {
    // Copied before the close: the caller may be reopening with our own title(),
    // which the close empties.
    char copy[TitleCapacity];
    copyBounded(copy, sizeof copy, title);
    close();
    copyBounded(title_, sizeof title_, copy);
    width_ = width;
    height_ = height;
    screenMode_ = mode;
    pixelMode_ = pixelMode;
    openFlag_ = true;
    if (platform_ == nullptr) {
        return true;
    }
    InUse inUse(*this);
    // The window takes the caller's whole text; title_ holds it again by now when
    // the caller passed our own.
    window_ = platform_->createWindow(*this, title != nullptr ? title : "", width, height);
    if (window_ == nullptr) {
        close();
        return false;
    }
    const bool windowed = mode == ScreenMode::Unspecified || mode == ScreenMode::Windowed;
    if (!(windowed ? enterWindowed() : enterFullscreen())) {
        return false;
    }
    if (observer_ != nullptr) {
        observer_->opened(eventTarget());
    }
    return true;
}

void ScreenCore::close() {
    output_.reset(); // the device goes before its window
    if (window_ != nullptr) {
        // Destroying the platform window sends messages of its own; the record
        // stays for them and for any pump or handler further up the stack.
        window_->destroy();
        retiredWindows_.push_back(std::move(window_));
    }
    freeRetiredWindows();
    resetState();
}

bool ScreenCore::showFrame(const PackedPixel* pixels) {
    if (pixels == nullptr) {
        return false;
    }
    return deliverFrame(pixels, nullptr);
}

bool ScreenCore::showFloatFrame(const FloatPixel* pixels) {
    if (pixels == nullptr) {
        return false;
    }
    return deliverFrame(nullptr, pixels);
}

bool ScreenCore::deliverFrame(const PackedPixel* pixels, const FloatPixel* floatPixels) {
    InUse inUse(*this);
    // Requests raised during the last pump: a close ends the frame here; a toggle
    // switches, whatever the switch returns.
    if (closeRequested_) {
        close();
        return false;
    }
    if (toggleRequested_) {
        toggleRequested_ = false;
        if (screenMode_ == ScreenMode::Windowed) {
            enterFullscreen();
        } else {
            enterWindowed();
        }
    }
    pumpMessages();
    if (output_ != nullptr && windowUsable()) {
        output_->update(pixels, floatPixels);
    }
    // A windowed screen stays hidden until it has a frame to show.
    if (windowUsable() && window_->hidden()) {
        window_->show();
        pumpMessages();
    }
    return true;
}

void ScreenCore::resetState() {
    resetCoreState();
}

bool ScreenCore::enterWindowed() {
    return enterMode(ScreenMode::Windowed);
}

bool ScreenCore::enterFullscreen() {
    return enterMode(ScreenMode::Fullscreen);
}

bool ScreenCore::enterMode(ScreenMode target) {
    if (platform_ == nullptr) {
        screenMode_ = target;
        return true;
    }
    if (!windowUsable()) {
        return false;
    }
    const bool hadOutput = output_ != nullptr;
    if (hadOutput && screenMode_ == target) {
        return true;
    }
    InUse inUse(*this);
    const ScreenMode previous = screenMode_;
    const WindowPlacement placement = window_->placement();
    if (switchTo(target, nullptr)) {
        screenMode_ = target;
        if (target == ScreenMode::Fullscreen) {
            // The switch queues messages of its own (size, focus): handle them now.
            pumpMessages();
        }
        return true;
    }
    // A refused switch (few systems offer every mode) goes back to the mode the
    // screen was in rather than ending the program; the reason stays recorded.
    if (hadOutput && windowUsable()) {
        const bool windowed = previous == ScreenMode::Windowed;
        if (switchTo(previous, windowed ? &placement : nullptr)) {
            if (!windowed) {
                pumpMessages();
            }
            return false;
        }
    }
    close();
    return false;
}

bool ScreenCore::switchTo(ScreenMode mode, const WindowPlacement* placement) {
    // Two devices never exist at once: the old one goes before the window changes.
    output_.reset();
    window_->styleFailed = false;
    if (mode == ScreenMode::Windowed) {
        window_->applyWindowedStyle(width_, height_);
    } else {
        window_->applyFullscreenStyle(width_, height_);
    }
    // Restyling sends messages; a handler may have closed the screen meanwhile.
    if (!windowUsable() || window_->styleFailed) {
        return false;
    }
    if (placement != nullptr) {
        window_->restorePlacement(*placement);
    }
    output_ = platform_->createOutput(*window_, mode);
    return output_ != nullptr && output_->usable();
}

void ScreenCore::pumpMessages() {
    if (window_ == nullptr) {
        return;
    }
    InUse inUse(*this);
    window_->pumpMessages();
}

bool ScreenCore::windowUsable() const {
    return window_ != nullptr && !window_->destroyed;
}

bool ScreenCore::paint() {
    if (output_ != nullptr && output_->usable()) {
        return output_->present();
    }
    return platform_ != nullptr && platform_->paintWithoutOutput();
}

void ScreenCore::requestToggle() {
    toggleRequested_ = true;
}

void ScreenCore::requestClose() {
    closeRequested_ = true;
}

Screen& ScreenCore::eventTarget() {
    return owner_ != nullptr ? *owner_ : *this;
}

void ScreenCore::freeRetiredWindows() {
    if (inUse_ == 0) {
        retiredWindows_.clear();
    }
}

ScreenCore::InUse::InUse(ScreenCore& screen) : screen_(screen) {
    ++screen_.inUse_;
}

ScreenCore::InUse::~InUse() {
    --screen_.inUse_;
    screen_.freeRetiredWindows();
}

} // namespace duskhall
