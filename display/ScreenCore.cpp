#include "display/ScreenCore.h"

#include <duskhall/InputObserver.h>

#include "display/BoundedCopy.h"
#include "display/DisplayError.h"
#include "display/ScreenOutput.h"
#include "display/ScreenPlatform.h"
#include "display/WindowCore.h"

#include <cstdio>
#include <thread>

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
    deferredMode_ = ScreenMode::Unspecified;
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
    if (!acceptable(width, height, pixelMode)) {
        return false;
    }
    copyBounded(title_, sizeof title_, copy);
    pacer_.restart();
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
    // The style the mode applies next carries it.
    window_->resizable = resizable_;
    styleNewWindow(*window_);
    const WindowCore* const window = window_.get();
    const bool windowed = mode == ScreenMode::Unspecified || mode == ScreenMode::Windowed;
    const bool entered = windowed ? enterWindowed() : enterFullscreen();
    if (window_.get() != window) {
        // A handler closed or reopened the screen meanwhile; that is the outcome.
        return isOpen();
    }
    if (!entered) {
        return false;
    }
    if (observer_ != nullptr) {
        observer_->opened(eventTarget());
    }
    return true;
}

bool ScreenCore::acceptable(std::int32_t width, std::int32_t height, PixelMode pixelMode) const {
    char reason[160];
    const std::int32_t largest = platform_ != nullptr ? platform_->largestFrameSide() : 16384;
    if (width < 1 || width > largest || height < 1 || height > largest) {
        const bool wide = width < 1 || width > largest;
        std::snprintf(reason, sizeof reason,
                      "%s %ld is outside 1 to %ld, the largest frame side this display takes",
                      wide ? "width" : "height", static_cast<long>(wide ? width : height),
                      static_cast<long>(largest));
        setDisplayError(reason);
        return false;
    }
    if (pixelMode != PixelMode::Integer && pixelMode != PixelMode::Float) {
        std::snprintf(reason, sizeof reason,
                      "pixel mode %ld is neither PixelMode::Integer (0) nor PixelMode::Float (1)",
                      static_cast<long>(pixelMode));
        setDisplayError(reason);
        return false;
    }
    return true;
}

void ScreenCore::setVsync(bool on) {
    if (on == vsync_) {
        return;
    }
    vsync_ = on;
    if (output_ != nullptr) {
        output_->setVsync(on);
    }
}

void ScreenCore::waitForFrameRate() {
    if (pacer_.rate() == 0 || (platform_ != nullptr && platform_->hostPacesFrames())) {
        return;
    }
    const FramePacer::Clock::time_point now = FramePacer::Clock::now();
    const FramePacer::Clock::time_point due = pacer_.nextFrame(now);
    if (due > now) {
        std::this_thread::sleep_until(due);
    }
}

void ScreenCore::close() {
    output_.reset(); // the device goes before its window
    if (window_ != nullptr) {
        // Destroying the platform window sends messages of its own; the record
        // stays for them and for any pump or handler further up the stack.
        window_->setPointerHeld(false); // a held pointer is never left confined
        window_->destroy();
        retiredWindows_.push_back(std::move(window_));
    }
    freeRetiredWindows();
    resetState();
}

namespace {

bool refuseNullFrame() {
    setDisplayError("no frame: the pixels given to showFrame or showFloatFrame were null");
    return false;
}

} // namespace

bool ScreenCore::showFrame(const PackedPixel* pixels) {
    if (pixels == nullptr) {
        return refuseNullFrame();
    }
    if (!isOpen()) {
        return refuseOnClosedScreen("showFrame");
    }
    return deliverFrame(pixels, nullptr);
}

bool ScreenCore::showFloatFrame(const FloatPixel* pixels) {
    if (pixels == nullptr) {
        return refuseNullFrame();
    }
    if (!isOpen()) {
        return refuseOnClosedScreen("showFloatFrame");
    }
    return deliverFrame(nullptr, pixels);
}

bool ScreenCore::deliverFrame(const PackedPixel* pixels, const FloatPixel* floatPixels) {
    InUse inUse(*this);
    // The caller's pixels are this many; a handler may change the size below.
    const std::int32_t frameWidth = width_;
    const std::int32_t frameHeight = height_;
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
    waitForFrameRate();
    pumpMessages();
    // A frame made for another size is dropped: the next one has the new size.
    const bool frameFits = width_ == frameWidth && height_ == frameHeight;
    if (!frameFits) {
        return isOpen();
    }
    if (output_ != nullptr && windowUsable()) {
        output_->update(pixels, floatPixels);
    }
    // A windowed screen stays hidden until it has a frame to show.
    if (windowUsable() && window_->hidden()) {
        window_->show();
        pumpMessages();
    }
    return isOpen();
}

bool ScreenCore::enterMode(ScreenMode target) {
    if (platform_ == nullptr) {
        screenMode_ = target;
        return true;
    }
    if (!windowUsable()) {
        return false;
    }
    if (switching_ == window_.get()) {
        // Asked by a handler while this window is being restyled: made right
        // after, so that two switches never interleave their steps.
        deferredMode_ = target;
        return false;
    }
    const bool hadOutput = output_ != nullptr;
    if (hadOutput && screenMode_ == target) {
        return true;
    }
    InUse inUse(*this);
    WindowCore* const window = window_.get();
    const ScreenMode previous = screenMode_;
    const WindowPlacement placement = window_->placement();
    const bool entered = switchTo(target, nullptr);
    if (!entered) {
        // A refused switch (few systems offer every mode) goes back to the mode
        // the screen was in rather than ending the program; the reason stays.
        const bool windowed = previous == ScreenMode::Windowed;
        const bool sameWindow = window_.get() == window && !window->destroyed;
        if (!sameWindow || !hadOutput || !switchTo(previous, windowed ? &placement : nullptr)) {
            if (window_.get() == window) {
                close();
            }
            return false;
        }
        target = previous;
    }
    if (window_.get() != window || window->destroyed) {
        return false; // a handler closed or reopened the screen meanwhile
    }
    screenMode_ = target;
    if (target == ScreenMode::Fullscreen) {
        // The switch queues messages of its own (size, focus): handle them now.
        pumpMessages();
    }
    if (deferredMode_ != ScreenMode::Unspecified && window_.get() == window) {
        const ScreenMode next = deferredMode_;
        deferredMode_ = ScreenMode::Unspecified;
        enterMode(next);
    }
    return entered;
}

bool ScreenCore::switchTo(ScreenMode mode, const WindowPlacement* placement) {
    WindowCore* const window = window_.get();
    const WindowCore* const outer = switching_;
    switching_ = window;
    // Two devices never exist at once: the old one goes before the window changes.
    output_.reset();
    window->styleFailed = false;
    if (mode == ScreenMode::Windowed) {
        window->applyWindowedStyle(width_, height_);
    } else {
        window->applyFullscreenStyle(width_, height_);
    }
    // Restyling sends messages; a handler may have closed or reopened the screen.
    bool usable = window_.get() == window && !window->destroyed && !window->styleFailed;
    if (usable && placement != nullptr) {
        window->restorePlacement(*placement);
        usable = window_.get() == window && !window->destroyed;
    }
    if (usable) {
        auto output = platform_->createOutput(*window, mode);
        usable =
            window_.get() == window && !window->destroyed && output != nullptr && output->usable();
        if (window_.get() == window) {
            output_ = std::move(output);
            if (output_ != nullptr) {
                output_->setScaling(scaling_);
            }
        }
    }
    switching_ = outer;
    return usable;
}

void ScreenCore::pumpMessages() {
    if (window_ == nullptr) {
        return;
    }
    InUse inUse(*this);
    window_->pumpMessages();
    // Sizes the platform changes without a message of their own (a mode switch,
    // a zoom the system carries out later) are told here.
    if (windowUsable()) {
        window_->noteClientSize();
    }
}

bool ScreenCore::paint() {
    if (output_ != nullptr && output_->usable()) {
        return output_->present();
    }
    return platform_ != nullptr && platform_->paintWithoutOutput();
}

// A closed screen has nothing to act on: a handler still running for the window
// it closed must not leave a request for whatever is opened next.
void ScreenCore::requestToggle() {
    toggleRequested_ = toggleRequested_ || openFlag_;
}

void ScreenCore::requestClose() {
    closeRequested_ = closeRequested_ || openFlag_;
}

Screen& ScreenCore::eventTarget() {
    return owner_ != nullptr ? *owner_ : *this;
}

bool ScreenCore::keepWindowFlag(const char* operation, bool& kept, bool on,
                                void (WindowCore::*apply)(bool)) {
    if (!isOpen()) {
        return refuseOnClosedScreen(operation);
    }
    kept = on;
    if (windowUsable()) {
        (window_.get()->*apply)(on);
    }
    return true;
}

bool ScreenCore::windowUsable() const {
    return window_ != nullptr && !window_->destroyed;
}

void ScreenCore::freeRetiredWindows() {
    if (inUse_ == 0) {
        retiredWindows_.clear();
    }
}

} // namespace duskhall
