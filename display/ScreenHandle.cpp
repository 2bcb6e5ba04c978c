#include <duskhall/ScreenHandle.h>

#include "display/DisplayError.h"
#include "display/PlatformScreen.h"
#include "display/ScreenCore.h"

#include <new>

namespace duskhall {

namespace {

std::unique_ptr<ScreenCore> tryCreatePlatformScreen() {
    try {
        return createPlatformScreen();
    } catch (const std::bad_alloc&) {
        setDisplayError("no screen: out of memory");
        return nullptr;
    }
}

} // namespace

ScreenHandle::ScreenHandle(const char* title, std::int32_t width, std::int32_t height,
                           ScreenMode mode, PixelMode pixelMode, InputObserver* observer)
    : ScreenHandle(tryCreatePlatformScreen(), title, width, height, mode, pixelMode, observer) {}

ScreenHandle::ScreenHandle(std::unique_ptr<ScreenCore> screen, const char* title,
                           std::int32_t width, std::int32_t height, ScreenMode mode,
                           PixelMode pixelMode, InputObserver* observer)
    : implementation_(std::move(screen)) {
    if (implementation_) {
        implementation_->setOwner(this);
        if (observer != nullptr) {
            implementation_->setObserver(observer); // a screen's own observer stays otherwise
        }
        implementation_->open(title, width, height, mode, pixelMode);
    }
}

ScreenHandle::~ScreenHandle() {
    implementation_.reset();
}

bool ScreenHandle::open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
                        PixelMode pixelMode) {
    return implementation_ && implementation_->open(title, width, height, mode, pixelMode);
}

void ScreenHandle::setTitle(const char* title) {
    if (implementation_) {
        implementation_->setTitle(title);
    }
}

void ScreenHandle::close() {
    if (implementation_) {
        implementation_->close();
    }
}

bool ScreenHandle::isOpen() const {
    return implementation_ && implementation_->isOpen();
}

bool ScreenHandle::showFrame(const PackedPixel* pixels) {
    return implementation_ && implementation_->showFrame(pixels);
}

bool ScreenHandle::showFloatFrame(const FloatPixel* pixels) {
    return implementation_ && implementation_->showFloatFrame(pixels);
}

const char* ScreenHandle::title() const {
    return implementation_ ? implementation_->title() : "";
}

std::int32_t ScreenHandle::width() const {
    return implementation_ ? implementation_->width() : 0;
}

std::int32_t ScreenHandle::height() const {
    return implementation_ ? implementation_->height() : 0;
}

PixelMode ScreenHandle::pixelMode() const {
    return implementation_ ? implementation_->pixelMode() : PixelMode::Float;
}

ScreenMode ScreenHandle::screenMode() const {
    return implementation_ ? implementation_->screenMode() : ScreenMode::Unspecified;
}

InputObserver* ScreenHandle::observer() const {
    return implementation_ ? implementation_->observer() : nullptr;
}

void ScreenHandle::setObserver(InputObserver* observer) {
    if (implementation_) {
        if (observer != nullptr) {
            implementation_->setObserver(observer); // a screen's own observer stays otherwise
        }
    }
}

void ScreenHandle::setVsync(bool on) {
    if (implementation_) {
        implementation_->setVsync(on);
    }
}

bool ScreenHandle::vsync() const {
    return !implementation_ || implementation_->vsync();
}

void ScreenHandle::setFrameRate(std::int32_t framesPerSecond) {
    if (implementation_) {
        implementation_->setFrameRate(framesPerSecond);
    }
}

std::int32_t ScreenHandle::frameRate() const {
    return implementation_ ? implementation_->frameRate() : 0;
}

void ScreenHandle::setBuiltInKeys(bool on) {
    if (implementation_) {
        implementation_->setBuiltInKeys(on);
    }
}

bool ScreenHandle::builtInKeys() const {
    return !implementation_ || implementation_->builtInKeys();
}

} // namespace duskhall
