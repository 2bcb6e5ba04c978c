#include "app/ApplicationShell.h"

#include <duskhall/ScreenHandle.h>

#include <cstring>
#include <memory>
#include <vector>

std::uint8_t keyHeld[256];
std::uint8_t keyPressed[256];

namespace {

// One of each for the whole run. A second openDisplay replaces the first. The
// display is declared last so that it is destroyed first at exit, while the
// observer it points to still exists.
std::unique_ptr<KeyStateObserver> observer;
std::unique_ptr<duskhall::ScreenHandle> display;
// Sized once by openDisplay, so the address handed out stays valid.
std::vector<PackedPixel> frame;

duskhall::KeyCode keyIndex(duskhall::KeyCode key) {
    return key & 0xFF;
}

} // namespace

KeyStateObserver::KeyStateObserver() {
    std::memset(keyHeld, 0, sizeof keyHeld);
    std::memset(keyPressed, 0, sizeof keyPressed);
}

void KeyStateObserver::keyDown(duskhall::Screen&, duskhall::KeyCode key) {
    keyHeld[keyIndex(key)] = 1;
    keyPressed[keyIndex(key)] = 1;
}

void KeyStateObserver::keyUp(duskhall::Screen&, duskhall::KeyCode key) {
    keyHeld[keyIndex(key)] = 0;
}

PackedPixel* openDisplay(const char* title, std::int32_t width, std::int32_t height,
                         std::unique_ptr<KeyStateObserver> listener) {
    display.reset();
    display = std::make_unique<duskhall::ScreenHandle>(
        title, width, height, duskhall::ScreenMode::Unspecified, duskhall::PixelMode::Integer);
    observer = listener != nullptr ? std::move(listener) : std::make_unique<KeyStateObserver>();
    display->setObserver(observer.get());
    const std::size_t pixels =
        width > 0 && height > 0 ? static_cast<std::size_t>(width) * static_cast<std::size_t>(height)
                                : 0;
    frame.assign(pixels, 0);
    if (!display->isOpen() || frame.empty()) {
        return nullptr;
    }
#ifndef __EMSCRIPTEN__
    // The demo's window keeps the sizing frame it has always had; in the browser
    // the page lays its canvas out.
    display->setResizable(true);
#endif
    return frame.data();
}

PackedPixel* resizeDisplayFrame(std::int32_t width, std::int32_t height) {
    if (display == nullptr || width < 1 || height < 1 || !display->setFrameSize(width, height)) {
        return nullptr;
    }
    frame.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    return frame.data();
}

bool setDisplayResizable(bool on) {
    return display != nullptr && display->setResizable(on);
}

bool displayClosed() {
    return display == nullptr || !display->isOpen();
}

bool updateDisplay() {
    if (display == nullptr || frame.empty()) {
        return false;
    }
    return display->showFrame(frame.data());
}

void closeDisplay() {
    if (display != nullptr) {
        display->close();
    }
}

void setDisplayTitle(const char* title) {
    if (display != nullptr) {
        display->setTitle(title);
    }
}

duskhall::ScreenHandle* shellDisplay() {
    return display.get();
}
