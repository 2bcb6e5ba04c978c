#include "display/ScreenHandle.h"

#include "display/PlatformScreen.h"

#include <new>

namespace {

std::unique_ptr<ScreenCore> tryCreatePlatformScreen() {
    try {
        return createPlatformScreen();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

ScreenHandle::ScreenHandle(const char* title, std::int32_t width, std::int32_t height,
                           ScreenMode mode, PixelMode pixelMode)
    : ScreenHandle(tryCreatePlatformScreen(), title, width, height, mode, pixelMode) {}

ScreenHandle::ScreenHandle(std::unique_ptr<ScreenCore> screen, const char* title,
                           std::int32_t width, std::int32_t height, ScreenMode mode,
                           PixelMode pixelMode)
    : implementation_(std::move(screen)) {
    if (implementation_) {
        implementation_->setOwner(this);
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

void ScreenHandle::setObserver(InputObserver* observer) {
    if (implementation_) {
        implementation_->setObserver(observer);
    }
}
