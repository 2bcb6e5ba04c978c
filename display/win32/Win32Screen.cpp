#include "display/win32/Win32Screen.h"

#include "display/DisplayError.h"

#include <cstdio>
#include <cstring>

namespace duskhall {

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

Win32Screen::Win32Screen(IDirect3D9* direct3d)
    : ScreenCore(static_cast<ScreenPlatform&>(*this)), direct3d_(direct3d) {}

Win32Screen::~Win32Screen() {
    // The device goes before the root object it came from.
    close();
    if (direct3d_ != nullptr) {
        direct3d_->Release();
        direct3d_ = nullptr;
    }
}

std::unique_ptr<WindowCore> Win32Screen::createWindow(ScreenCore& screen, const char* title,
                                                      std::int32_t width, std::int32_t height) {
    auto window = std::make_unique<AppWindow>(&screen, title, width, height);
    if (window->hwnd == nullptr) {
        recordWindowError(window->creationError);
        return nullptr;
    }
    return window;
}

std::unique_ptr<ScreenOutput> Win32Screen::createOutput(WindowCore& window, ScreenMode mode) {
    auto output = std::make_unique<Direct3DOutput>(direct3d_, static_cast<AppWindow&>(window).hwnd,
                                                   width(), height(), pixelMode(),
                                                   mode == ScreenMode::Windowed, vsync());
    if (!output->usable()) {
        setDisplayError(direct3d_ == nullptr ? "no Direct3D 9" : "no usable Direct3D device");
    }
    return output;
}

std::int32_t Win32Screen::largestFrameSide() {
    D3DCAPS9 caps{};
    if (direct3d_ != nullptr &&
        SUCCEEDED(direct3d_->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps)) &&
        caps.MaxTextureWidth > 0 && caps.MaxTextureHeight > 0) {
        const DWORD side = caps.MaxTextureWidth < caps.MaxTextureHeight ? caps.MaxTextureWidth
                                                                        : caps.MaxTextureHeight;
        return static_cast<std::int32_t>(side < 16384 ? side : 16384);
    }
    return ScreenPlatform::largestFrameSide();
}

bool Win32Screen::paintWithoutOutput() {
    // Without a window GetDC would hand out the whole screen, and the handle of a
    // window the system destroyed may already name another: nothing to paint then.
    AppWindow* appWindow = window();
    if (appWindow == nullptr || appWindow->hwnd == nullptr || appWindow->destroyed) {
        return true;
    }
    const HWND hwnd = appWindow->hwnd;
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
    return true;
}

} // namespace duskhall
