#include "display/web/WebScreen.h"

#include "display/DisplayError.h"
#include "display/InputObserver.h"

WebScreen::WebScreen(const char* canvas) : canvas_(canvas) {}

WebScreen::~WebScreen() {
    close();
}

bool WebScreen::fail(const char* what) {
    setDisplayError(what);
    close();
    return false;
}

bool WebScreen::open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
                     PixelMode pixelMode) {
    ScreenCore::open(title, width, height, mode, pixelMode);
    window_ = std::make_unique<WebWindow>(this, this, canvas_, width, height);
    window_->observer = observer();
    if (!window_->valid()) {
        return fail("the page has no canvas");
    }
    const bool windowed = mode == ScreenMode::Unspecified || mode == ScreenMode::Windowed;
    if (!(windowed ? enterWindowed() : enterFullscreen())) {
        return false;
    }
    if (observer() != nullptr) {
        observer()->opened(eventTarget());
    }
    return true;
}

void WebScreen::close() {
    if (pumpDepth_ > 0) {
        // Only one close can be pending: a later one finds nothing open, or a
        // window opened inside the same pump, which is then kept until the pump ends.
        if (retiredOutput_ == nullptr) {
            retiredOutput_ = std::move(output_);
        }
        if (retiredWindow_ == nullptr) {
            retiredWindow_ = std::move(window_);
        }
    }
    output_.reset(); // the output goes before its canvas
    window_.reset();
    resetState();
}

void WebScreen::resetState() {
    ScreenCore::resetState();
    closeRequested_ = false;
    toggleRequested_ = false;
}

void WebScreen::setObserver(InputObserver* observer) {
    ScreenCore::setObserver(observer);
    if (window_ != nullptr) {
        window_->observer = observer;
    }
}

bool WebScreen::enterWindowed() {
    return enterMode(ScreenMode::Windowed);
}

bool WebScreen::enterFullscreen() {
    return enterMode(ScreenMode::Fullscreen);
}

bool WebScreen::enterMode(ScreenMode target) {
    if (window_ == nullptr) {
        return false;
    }
    if (output_ != nullptr && screenMode() == target) {
        return true;
    }
    // The browser answers a fullscreen request later; a refusal comes back as a
    // switch to the windowed style through the event queue.
    if (target == ScreenMode::Windowed) {
        window_->applyWindowedStyle(width(), height());
    } else {
        window_->applyFullscreenStyle(width(), height());
    }
    if (output_ == nullptr) {
        output_ = WebOutput::create(canvas_, width(), height());
        if (output_ == nullptr) {
            return fail("the browser gives the canvas no WebGL");
        }
    }
    setScreenMode(target);
    return true;
}

void WebScreen::pumpMessages() {
    if (window_ == nullptr) {
        return;
    }
    window_->pumpStarting();
    ++pumpDepth_;
    // A close inside a handler retires this window; its remaining events go with it.
    WebWindow* pumped = window_.get();
    while (window_.get() == pumped && pumped->dispatchNext()) {
    }
    if (--pumpDepth_ == 0) {
        retiredOutput_.reset();
        retiredWindow_.reset();
    }
}

bool WebScreen::deliverFrame(const PackedPixel* pixels, const FloatPixel* floatPixels) {
    if (!actOnRequests(closeRequested_, toggleRequested_)) {
        return false;
    }
    pumpMessages();
    const bool windowGone = window_ == nullptr || window_->destroyed;
    if (output_ != nullptr && !windowGone) {
        output_->upload(pixels, floatPixels);
        output_->present();
    }
    if (!windowGone && window_->hidden()) {
        window_->show();
        pumpMessages();
    }
    return true;
}

bool WebScreen::paint() {
    if (output_ == nullptr) {
        return false;
    }
    output_->present();
    return true;
}

void WebScreen::requestToggle() {
    toggleRequested_ = true;
}

void WebScreen::requestClose() {
    closeRequested_ = true;
}
