#include "display/ScreenCore.h"

#include <cstring>

ScreenCore::ScreenCore() {
    resetCoreState();
}

ScreenCore::~ScreenCore() {
    // Deliberately our own reset: the derived parts are already gone.
    resetCoreState();
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
}

bool ScreenCore::isOpen() const {
    return openFlag_;
}

bool ScreenCore::open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
                      PixelMode pixelMode) {
    // Copied before the close: the caller may be reopening with our own title(),
    // which the close empties.
    char copy[TitleCapacity];
    std::size_t length = 0;
    if (title != nullptr) {
        while (length < TitleCapacity - 1 && title[length] != '\0') {
            ++length;
        }
        std::memcpy(copy, title, length);
    }
    copy[length] = '\0';
    close();
    std::memcpy(title_, copy, length + 1);
    width_ = width;
    height_ = height;
    screenMode_ = mode;
    pixelMode_ = pixelMode;
    openFlag_ = true;
    return true;
}

void ScreenCore::close() {
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

const char* ScreenCore::title() const {
    return title_;
}
std::int32_t ScreenCore::width() const {
    return width_;
}
std::int32_t ScreenCore::height() const {
    return height_;
}
PixelMode ScreenCore::pixelMode() const {
    return pixelMode_;
}
ScreenMode ScreenCore::screenMode() const {
    return screenMode_;
}
InputObserver* ScreenCore::observer() const {
    return observer_;
}
void ScreenCore::setObserver(InputObserver* observer) {
    observer_ = observer;
}
Screen* ScreenCore::owner() {
    return owner_;
}
void ScreenCore::setOwner(Screen* owner) {
    owner_ = owner;
}

bool ScreenCore::deliverFrame(const PackedPixel*, const FloatPixel*) {
    return true;
}

void ScreenCore::resetState() {
    resetCoreState();
}

bool ScreenCore::enterWindowed() {
    screenMode_ = ScreenMode::Windowed;
    return true;
}

bool ScreenCore::enterFullscreen() {
    screenMode_ = ScreenMode::Fullscreen;
    return true;
}

bool ScreenCore::actOnRequests(bool& closeRequested, bool& toggleRequested) {
    if (closeRequested) {
        close();
        return false;
    }
    if (toggleRequested) {
        toggleRequested = false;
        if (screenMode_ == ScreenMode::Windowed) {
            enterFullscreen();
        } else {
            enterWindowed();
        }
    }
    return true;
}

Screen& ScreenCore::eventTarget() {
    return owner_ != nullptr ? *owner_ : *this;
}
