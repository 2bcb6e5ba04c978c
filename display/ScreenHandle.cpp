#include <duskhall/ScreenHandle.h>

#include "display/DisplayError.h"
#include "display/PlatformScreen.h"
#include "display/ScreenCore.h"

#include <new>

namespace duskhall {

namespace {

bool refuseWithoutScreen() {
    setDisplayError("no screen: the platform screen could not be made");
    return false;
}

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

// The settings: a handle without a screen refuses them and answers the defaults.

bool ScreenHandle::setResizable(bool on) {
    return implementation_ ? implementation_->setResizable(on) : refuseWithoutScreen();
}

bool ScreenHandle::resizable() const {
    return implementation_ && implementation_->resizable();
}

bool ScreenHandle::setScaling(Scaling scaling) {
    return implementation_ ? implementation_->setScaling(scaling) : refuseWithoutScreen();
}

Scaling ScreenHandle::scaling() const {
    return implementation_ ? implementation_->scaling() : Scaling::Fit;
}

bool ScreenHandle::setZoom(std::int32_t factor) {
    return implementation_ ? implementation_->setZoom(factor) : refuseWithoutScreen();
}

bool ScreenHandle::setFrameSize(std::int32_t width, std::int32_t height) {
    return implementation_ ? implementation_->setFrameSize(width, height) : refuseWithoutScreen();
}

Size ScreenHandle::desktopSize() const {
    return implementation_ ? implementation_->desktopSize() : Size{};
}

float ScreenHandle::displayScale() const {
    return implementation_ ? implementation_->displayScale() : 1.0f;
}

Modifiers ScreenHandle::modifiers() const {
    return implementation_ ? implementation_->modifiers() : Modifiers{};
}

bool ScreenHandle::setCursorVisible(bool visible) {
    return implementation_ ? implementation_->setCursorVisible(visible) : refuseWithoutScreen();
}

bool ScreenHandle::cursorVisible() const {
    return !implementation_ || implementation_->cursorVisible();
}

bool ScreenHandle::setRelativeMouse(bool on) {
    return implementation_ ? implementation_->setRelativeMouse(on) : refuseWithoutScreen();
}

bool ScreenHandle::relativeMouse() const {
    return implementation_ && implementation_->relativeMouse();
}

bool ScreenHandle::setTitle(const char* title) {
    return implementation_ ? implementation_->setTitle(title) : refuseWithoutScreen();
}

bool ScreenHandle::setBorderless(bool on) {
    return implementation_ ? implementation_->setBorderless(on) : refuseWithoutScreen();
}

bool ScreenHandle::borderless() const {
    return implementation_ && implementation_->borderless();
}

bool ScreenHandle::setAlwaysOnTop(bool on) {
    return implementation_ ? implementation_->setAlwaysOnTop(on) : refuseWithoutScreen();
}

bool ScreenHandle::alwaysOnTop() const {
    return implementation_ && implementation_->alwaysOnTop();
}

bool ScreenHandle::setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) {
    return implementation_ ? implementation_->setIcon(pixels, width, height)
                           : refuseWithoutScreen();
}

} // namespace duskhall
