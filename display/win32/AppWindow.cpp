#include "display/win32/AppWindow.h"

#include "display/BoundedCopy.h"
#include "display/DisplayError.h"
#include "display/ModifierKeys.h"
#include "display/ScreenCore.h"
#include "display/WindowMessage.h"

#include <array>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace duskhall {

namespace {

// An icon of the pixels with their alpha: a top-down 32-bit colour bitmap and an
// all-zero mask, which the alpha channel stands in for. Null when refused.
HICON createIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) {
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = width;
    header.bV5Height = -height; // rows top first, as given
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr);
    const HBITMAP colour = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                            DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    // Monochrome rows are whole 16-bit words.
    const std::vector<BYTE> clear(static_cast<std::size_t>((width + 15) / 16 * 2) * height, 0);
    const HBITMAP mask = CreateBitmap(width, height, 1, 1, clear.data());
    HICON icon = nullptr;
    if (colour != nullptr && mask != nullptr) {
        std::memcpy(bits, pixels, static_cast<std::size_t>(width) * height * 4);
        ICONINFO info{};
        info.fIcon = TRUE;
        info.hbmMask = mask;
        info.hbmColor = colour;
        icon = CreateIconIndirect(&info);
    }
    if (colour != nullptr) {
        DeleteObject(colour);
    }
    if (mask != nullptr) {
        DeleteObject(mask);
    }
    return icon;
}

} // namespace

static_assert(wm::Destroy == WM_DESTROY && wm::Size == WM_SIZE && wm::Activate == WM_ACTIVATE &&
                  wm::Paint == WM_PAINT && wm::Close == WM_CLOSE && wm::Quit == WM_QUIT &&
                  wm::SetCursor == WM_SETCURSOR,
              "window message numbers");
static_assert(wm::KeyDown == WM_KEYDOWN && wm::KeyUp == WM_KEYUP &&
                  wm::SysKeyDown == WM_SYSKEYDOWN && wm::SysKeyUp == WM_SYSKEYUP &&
                  wm::SysCommand == WM_SYSCOMMAND,
              "keyboard and command message numbers");
static_assert(wm::MouseMove == WM_MOUSEMOVE && wm::LButtonDown == WM_LBUTTONDOWN &&
                  wm::LButtonUp == WM_LBUTTONUP && wm::RButtonDown == WM_RBUTTONDOWN &&
                  wm::RButtonUp == WM_RBUTTONUP && wm::MButtonDown == WM_MBUTTONDOWN &&
                  wm::MButtonUp == WM_MBUTTONUP && wm::Sizing == WM_SIZING &&
                  wm::Moving == WM_MOVING,
              "mouse and sizing message numbers");
static_assert(wm::Char == WM_CHAR && wm::UniChar == WM_UNICHAR && wm::MouseWheel == WM_MOUSEWHEEL &&
                  wm::MouseHWheel == WM_MOUSEHWHEEL && WheelDelta == WHEEL_DELTA &&
                  wm::MouseDelta > WM_APP && wm::HoldLost > WM_APP,
              "text, wheel and our own message numbers");
static_assert(vk::LeftShift == VK_LSHIFT && vk::RightShift == VK_RSHIFT &&
                  vk::LeftControl == VK_LCONTROL && vk::RightControl == VK_RCONTROL &&
                  vk::LeftMenu == VK_LMENU && vk::RightMenu == VK_RMENU &&
                  vk::LeftWindows == VK_LWIN && vk::RightWindows == VK_RWIN,
              "modifier key numbers");
static_assert(vk::Return == VK_RETURN && vk::Menu == VK_MENU && vk::Escape == VK_ESCAPE &&
                  HitClient == HTCLIENT && ActivateInactive == WA_INACTIVE,
              "key and hit-test numbers");
static_assert(AppWindow::WindowedStyle == WS_OVERLAPPEDWINDOW &&
                  AppWindow::FixedWindowedStyle ==
                      (WS_OVERLAPPEDWINDOW & ~(WS_THICKFRAME | WS_MAXIMIZEBOX)) &&
                  AppWindow::FullscreenStyle == (WS_POPUP | WS_BORDER | WS_SYSMENU) &&
                  AppWindow::BorderlessStyle == (WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX),
              "window styles");

AppWindow::AppWindow(ScreenCore* screen, const char* title, std::int32_t width, std::int32_t height)
    : WindowCore(screen, width, height) {
    holdsByWarping = true;
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    arrowCursor = LoadCursorA(nullptr, IDC_ARROW);
    // A 1 x 1 cursor that leaves the screen as it is: AND mask set, XOR mask clear.
    const BYTE andMask[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    const BYTE xorMask[4] = {0, 0, 0, 0};
    blankCursor = CreateCursor(nullptr, 0, 0, 1, 1, andMask, xorMask);

    // A Unicode window: its WM_CHAR carries UTF-16, whatever the system's code page.
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = &AppWindow::windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, "DisplayIcon");
    // Windows refuses class names of more than 255 characters: the class takes the
    // title as the screen stores it, the caption the whole text.
    char bounded[ScreenCore::TitleCapacity];
    copyBounded(bounded, sizeof bounded, title);
    wchar_t className[ScreenCore::TitleCapacity];
    if (MultiByteToWideChar(CP_UTF8, 0, bounded, -1, className, ScreenCore::TitleCapacity) == 0) {
        className[0] = L'\0';
    }
    windowClass.lpszClassName = className;
    // An earlier open may have left the class registered with another procedure;
    // while another screen's window of the same title is open, its class (the
    // same procedure) stays and serves this window too.
    UnregisterClassW(className, instance);
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        creationError = GetLastError();
        return;
    }
    // The caption takes the caller's whole text (UTF-8), however long.
    const char* text = title != nullptr ? title : "";
    std::wstring caption(
        static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0) + 1), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, &caption[0], static_cast<int>(caption.size()));
    hwnd = CreateWindowExW(0, className, caption.c_str(), WindowedStyle, 0, 0, width, height,
                           nullptr, nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        creationError = GetLastError();
        return;
    }
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    rebuildSystemMenu();
}

AppWindow::~AppWindow() {
    destroy();
}

void AppWindow::setCaption(const char* title) {
    if (!usableWindow()) {
        return;
    }
    wchar_t caption[ScreenCore::TitleCapacity];
    if (MultiByteToWideChar(CP_UTF8, 0, title, -1, caption, ScreenCore::TitleCapacity) == 0) {
        caption[0] = L'\0';
    }
    SetWindowTextW(hwnd, caption);
}

void AppWindow::setTopmost(bool on) {
    if (usableWindow()) {
        SetWindowPos(hwnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

bool AppWindow::setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) {
    if (!usableWindow()) {
        return true;
    }
    const HICON icon = createIcon(pixels, width, height);
    if (icon == nullptr) {
        char reason[96];
        std::snprintf(reason, sizeof reason, "setIcon: Windows refused the icon (error %lu)",
                      static_cast<unsigned long>(GetLastError()));
        setDisplayError(reason);
        return false;
    }
    SendMessageA(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    if (icon_ != nullptr) {
        DestroyIcon(icon_);
    }
    icon_ = icon;
    return true;
}

void AppWindow::destroy() {
    if (hwnd != nullptr) {
        if (!destroyed) {
            DestroyWindow(hwnd);
        }
        hwnd = nullptr;
    }
    destroyed = true;
    if (icon_ != nullptr) {
        DestroyIcon(icon_);
        icon_ = nullptr;
    }
    if (blankCursor != nullptr) {
        DestroyCursor(blankCursor);
        blankCursor = nullptr;
    }
}

LRESULT CALLBACK AppWindow::windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Messages sent while CreateWindowExA runs arrive before the record is attached.
    auto* window = reinterpret_cast<AppWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    // A close the observer refused must not reach the default handling, which
    // would destroy the window.
    if (window != nullptr && !window->handleMessage(WindowMessage{message, wParam, lParam})) {
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void AppWindow::pumpMessages() {
    pumpStarting();
    // A handler may close the screen (a failed mode switch from the system menu) or
    // the system may destroy the window: both end the pump before the next look.
    while (usableWindow()) {
        MSG message;
        const bool found = PeekMessageW(&message, hwnd, 0, 0, PM_REMOVE) != 0;
        if (found) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(0);
        if (!found) {
            break;
        }
    }
}

bool AppWindow::hidden() const {
    return IsWindowVisible(hwnd) == FALSE;
}

bool AppWindow::altHeld() {
    return GetAsyncKeyState(VK_MENU) != 0;
}

void AppWindow::setCapture() {
    SetCapture(hwnd);
}

void AppWindow::releaseCapture() {
    ReleaseCapture();
}

WindowSize AppWindow::clientSize() {
    RECT client{};
    GetClientRect(hwnd, &client);
    return WindowSize{client.right - client.left, client.bottom - client.top};
}

void AppWindow::setCursor(CursorKind cursor) {
    SetCursor(cursor == CursorKind::Arrow ? arrowCursor : blankCursor);
}

void AppWindow::setVisible(bool visible) {
    ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE);
}

void AppWindow::setFrameStyle(bool windowedStyle) {
    // A window restyled while shown (borderless on or off) stays shown.
    const DWORD visible = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & WS_VISIBLE;
    SetWindowLongA(hwnd, GWL_STYLE,
                   static_cast<LONG>((windowedStyle ? framedStyle() : FullscreenStyle) | visible));
    // The client area follows the new frame only once the system is told of it.
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

WindowRect AppWindow::outerRect() {
    RECT outer{};
    GetWindowRect(hwnd, &outer);
    return WindowRect{outer.left, outer.top, outer.right, outer.bottom};
}

void AppWindow::moveWindow(const WindowRect& outer) {
    SetWindowPos(hwnd, nullptr, outer.left, outer.top, outer.width(), outer.height(), SWP_NOZORDER);
}

WindowSize AppWindow::screenSize() {
    return WindowSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

FrameInsets AppWindow::frameInsets() {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRect(&frame, framedStyle(), FALSE);
    return FrameInsets{-frame.left, -frame.top, frame.right, frame.bottom};
}

bool AppWindow::minimised() {
    return IsIconic(hwnd) != 0;
}

bool AppWindow::maximised() {
    return IsZoomed(hwnd) != 0;
}

Modifiers AppWindow::modifiers() {
    return modifiersFromVirtualKeys([](int key) { return (GetKeyState(key) & 0x8000) != 0; });
}

bool AppWindow::holdPointer(bool on) {
    if (!on) {
        ClipCursor(nullptr);
        return true;
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
    MapWindowPoints(hwnd, nullptr, corners, 2);
    const RECT area{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    ClipCursor(&area);
    return true;
}

void AppWindow::warpPointer(std::int32_t clientX, std::int32_t clientY) {
    POINT point{clientX, clientY};
    ClientToScreen(hwnd, &point);
    SetCursorPos(point.x, point.y);
}

bool AppWindow::pointerOverClient() {
    POINT point{};
    if (GetCursorPos(&point) == 0 || WindowFromPoint(point) != hwnd) {
        return false;
    }
    ScreenToClient(hwnd, &point);
    RECT client{};
    GetClientRect(hwnd, &client);
    return PtInRect(&client, point) != 0;
}

void AppWindow::applySystemMenu(const MenuList& entries) {
    systemMenu = GetSystemMenu(hwnd, FALSE);
    if (systemMenu == nullptr) {
        return;
    }
    for (std::int32_t id : menuRemovalOrder) {
        RemoveMenu(systemMenu, static_cast<UINT>(id), MF_BYCOMMAND);
    }
    for (const MenuEntry& entry : entries) {
        AppendMenuA(systemMenu, entry.separator() ? MF_SEPARATOR : MF_STRING,
                    static_cast<UINT_PTR>(entry.id), entry.text);
    }
}

void AppWindow::applyResizable() {
    if (!usableWindow() || windowed != 1) {
        return; // the fullscreen style has no frame; the windowed one takes it on return
    }
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    const DWORD visible = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & WS_VISIBLE;
    SetWindowLongA(hwnd, GWL_STYLE, static_cast<LONG>(framedStyle() | visible));
    const WindowRect outer = growByFrame(
        WindowRect{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom},
        frameInsets());
    SetWindowPos(hwnd, nullptr, outer.left, outer.top, outer.width(), outer.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    rebuildSystemMenu();
}

WindowSize AppWindow::desktopSize() {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!usableWindow() ||
        GetMonitorInfoA(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &info) == 0) {
        return screenSize();
    }
    return WindowSize{info.rcMonitor.right - info.rcMonitor.left,
                      info.rcMonitor.bottom - info.rcMonitor.top};
}

float AppWindow::displayScale() {
    // GetDpiForWindow (Windows 10) knows each monitor's DPI; older systems have
    // one for the whole desktop.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    UINT dpi = 0;
    if (usableWindow() && dpiForWindow != nullptr) {
        dpi = dpiForWindow(hwnd);
    }
    if (dpi == 0) {
        if (HDC dc = GetDC(nullptr)) {
            dpi = static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSX));
            ReleaseDC(nullptr, dc);
        }
    }
    return dpi > 0 ? static_cast<float>(dpi) / 96.0f : 1.0f;
}

} // namespace duskhall
