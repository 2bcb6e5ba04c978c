#include "display/win32/Win32Screen.h"

#include "display/DisplayError.h"
#include "display/InputObserver.h"

#include <cstdio>
#include <cstring>

namespace {

// "no window: <the system's text for the error>" for the user, without the text's
// line end.
void recordWindowError(DWORD error) {
    char text[200] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   text, sizeof text, nullptr);
    std::size_t length = std::strlen(text);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                          text[length - 1] == ' ' || text[length - 1] == '.')) {
        text[--length] = '\0';
    }
    char reason[256];
    if (length > 0) {
        std::snprintf(reason, sizeof reason, "no window: %s", text);
    } else {
        std::snprintf(reason, sizeof reason, "no window: error %lu",
                      static_cast<unsigned long>(error));
    }
    setDisplayError(reason);
}

} // namespace

Win32Screen::Win32Screen(IDirect3D9* direct3d) : direct3d_(direct3d) {}

Win32Screen::~Win32Screen() {
    close();
    if (direct3d_ != nullptr) {
        direct3d_->Release();
        direct3d_ = nullptr;
    }
}

bool Win32Screen::open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
                       PixelMode pixelMode) {
    ScreenCore::open(title, width, height, mode, pixelMode);
    // The window takes the caller's text, not the shortened copy.
    window_ = std::make_unique<AppWindow>(this, this, title != nullptr ? title : "", width, height);
    window_->observer = observer();
    if (window_->hwnd == nullptr) {
        recordWindowError(window_->creationError);
        close();
        return false;
    }
    const bool entered =
        screenMode() == ScreenMode::Unspecified || screenMode() == ScreenMode::Windowed
            ? enterWindowed()
            : enterFullscreen();
    if (!entered) {
        return false;
    }
    if (observer() != nullptr) {
        observer()->opened(eventTarget());
    }
    return true;
}

void Win32Screen::close() {
    destroyOutput();
    if (window_) {
        // Destroying the window sends messages; the record must still be there for
        // them, and for a handler or pump further up the stack that asked for the
        // close. It is freed once nothing of the window runs any more.
        window_->destroy();
        retiredWindows_.push_back(std::move(window_));
    }
    resetState();
}

void Win32Screen::freeRetiredWindows() {
    if (pumpDepth_ == 0) {
        retiredWindows_.clear();
    }
}

void Win32Screen::resetState() {
    if (output_ || window_) {
        // Only close() may tear the screen down; it calls back here afterwards.
        close();
        return;
    }
    ScreenCore::resetState();
    closeRequested_ = false;
    toggleRequested_ = false;
}

void Win32Screen::setObserver(InputObserver* observer) {
    ScreenCore::setObserver(observer);
    if (window_) {
        window_->observer = observer;
    }
}

bool Win32Screen::deliverFrame(const PackedPixel* pixels, const FloatPixel* floatPixels) {
    freeRetiredWindows();
    if (!actOnRequests(closeRequested_, toggleRequested_)) {
        return false;
    }
    if (window_) {
        pumpMessages();
    }
    if (output_) {
        output_->update(pixels, floatPixels);
    }
    // A windowed screen stays hidden until it has a frame to show.
    if (window_ && window_->hwnd != nullptr && !window_->destroyed &&
        !IsWindowVisible(window_->hwnd)) {
        ShowWindow(window_->hwnd, SW_SHOW);
        pumpMessages();
    }
    return true;
}

bool Win32Screen::enterWindowed() {
    return enterMode(ScreenMode::Windowed);
}

bool Win32Screen::enterFullscreen() {
    return enterMode(ScreenMode::Fullscreen);
}

bool Win32Screen::enterMode(ScreenMode target) {
    if (!window_ || window_->hwnd == nullptr || window_->destroyed) {
        return false;
    }
    const bool hadOutput = output_ != nullptr;
    if (hadOutput && screenMode() == target) {
        return true;
    }
    const ScreenMode previous = screenMode();
    const AppWindow::Placement placement = window_->placement();
    // Two devices never exist at once: the old one goes before the window changes.
    destroyOutput();
    if (buildOutput(target, nullptr)) {
        setScreenMode(target);
        if (target == ScreenMode::Fullscreen) {
            pumpMessages();
        }
        return true;
    }
    setDisplayError(direct3d_ == nullptr ? "no Direct3D 9" : "no usable Direct3D device");
    // A refused switch (few systems offer an exclusive mode of the framebuffer's
    // size) goes back to the mode the screen was in rather than ending the program.
    if (hadOutput && window_) {
        destroyOutput();
        const bool windowed = previous == ScreenMode::Windowed;
        if (buildOutput(previous, windowed ? &placement : nullptr)) {
            if (!windowed) {
                pumpMessages();
            }
            return false;
        }
    }
    close();
    return false;
}

bool Win32Screen::buildOutput(ScreenMode target, const AppWindow::Placement* windowedPlacement) {
    const bool windowed = target == ScreenMode::Windowed;
    if (windowed) {
        window_->applyWindowedStyle(width(), height());
    } else {
        window_->applyFullscreenStyle(width(), height());
    }
    // Restyling sends messages; a handler may have closed the screen meanwhile.
    if (!window_ || window_->hwnd == nullptr || window_->destroyed) {
        return false;
    }
    if (windowedPlacement != nullptr) {
        window_->restorePlacement(*windowedPlacement);
    }
    output_ = std::make_unique<Direct3DOutput>(direct3d_, window_->hwnd, width(), height(),
                                               pixelMode(), windowed);
    return output_->usable();
}

void Win32Screen::destroyOutput() {
    if (output_) {
        output_->release();
        output_.reset();
    }
}

void Win32Screen::pumpMessages() {
    AppWindow* window = window_.get();
    if (window == nullptr) {
        return;
    }
    ++pumpDepth_;
    window->pumpMessages();
    --pumpDepth_;
    freeRetiredWindows();
}

bool Win32Screen::paint() {
    if (output_ && output_->usable()) {
        return output_->present();
    }
    fillBlack();
    return true;
}

void Win32Screen::fillBlack() {
    // Without a window GetDC would hand out the whole screen, and the handle of a
    // window the system destroyed may already name another: nothing to paint then.
    if (!window_ || window_->hwnd == nullptr || window_->destroyed) {
        return;
    }
    const HWND hwnd = window_->hwnd;
    if (HDC dc = GetDC(hwnd)) {
        const HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
        const HGDIOBJ previous = SelectObject(dc, brush);
        RECT client{};
        GetClientRect(hwnd, &client);
        Rectangle(dc, 0, 0, client.right, client.bottom);
        // A brush still selected into a device context must not be deleted.
        SelectObject(dc, previous);
        DeleteObject(brush);
        ReleaseDC(hwnd, dc);
    }
    ValidateRect(hwnd, nullptr);
}

void Win32Screen::requestToggle() {
    toggleRequested_ = true;
}

void Win32Screen::requestClose() {
    closeRequested_ = true;
}
