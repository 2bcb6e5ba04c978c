#pragma once

#include "display/WindowCore.h"

#include <windows.h>

#include <cstdint>

namespace duskhall {

// The Win32 window of one open screen. Every decision (menu, placement, input)
// lives in WindowCore; this class makes the real calls and runs the pump.
class AppWindow : public WindowCore {
  public:
    static constexpr DWORD WindowedStyle = 0x00CF0000;   // WS_OVERLAPPEDWINDOW
    static constexpr DWORD FullscreenStyle = 0x80880000; // WS_POPUP | WS_BORDER | WS_SYSMENU
    // Without the sizing frame and the maximise box: a window the user cannot resize.
    static constexpr DWORD FixedWindowedStyle = 0x00CA0000;
    // The windowed style without frame: WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX, so
    // the system menu and the taskbar's minimise still work.
    static constexpr DWORD BorderlessStyle = 0x800A0000;

    // Registers the class and creates the hidden window; hwnd stays null on failure.
    AppWindow(ScreenCore* screen, const char* title, std::int32_t width, std::int32_t height);
    ~AppWindow() override;

    // Dispatches this window's queued messages until its queue is empty. Stops as
    // soon as the window is destroyed or closed from inside a handler.
    void pumpMessages() override;
    bool hidden() const override;
    // DestroyWindow (unless the system already destroyed it), then the blank cursor.
    void destroy() override;
    // The title is UTF-8; the caption takes it as wide characters.
    void setCaption(const char* title) override;
    // GetKeyState of each side's key, as the messages handled so far left it.
    Modifiers modifiers() override;
    // HWND_TOPMOST or HWND_NOTOPMOST, neither moving nor activating the window.
    void setTopmost(bool on) override;
    // The pixels as an icon with alpha, for the caption and the taskbar (big and small).
    bool setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) override;

    static LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd = nullptr;
    HMENU systemMenu = nullptr;
    // GetLastError of the registration or creation that failed; 0 when hwnd exists.
    DWORD creationError = 0;
    HCURSOR arrowCursor = nullptr;
    HCURSOR blankCursor = nullptr;

  protected:
    bool altHeld() override;
    void setCapture() override;
    void releaseCapture() override;
    WindowSize clientSize() override;
    void setCursor(CursorKind cursor) override;
    void setVisible(bool visible) override;
    void setFrameStyle(bool windowedStyle) override;
    WindowRect outerRect() override;
    void moveWindow(const WindowRect& outer) override;
    WindowSize screenSize() override;
    FrameInsets frameInsets() override;
    bool minimised() override;
    bool maximised() override;
    void applySystemMenu(const MenuList& entries) override;
    // ClipCursor to the client area; the window logic puts the pointer back at
    // its centre after each move (SetCursorPos).
    bool holdPointer(bool on) override;
    void warpPointer(std::int32_t clientX, std::int32_t clientY) override;
    bool pointerOverClient() override;
    // Restyles a windowed window, keeping its client area where it is.
    void applyResizable() override;

  public:
    // The monitor the window is on, and its DPI against the usual 96.
    WindowSize desktopSize() override;
    float displayScale() override;

  private:
    bool usableWindow() const { return hwnd != nullptr && !destroyed; }
    // The windowed style: without frame when borderless, else with the sizing frame
    // only when resizable.
    DWORD framedStyle() const {
        return borderless ? BorderlessStyle : resizable ? WindowedStyle : FixedWindowedStyle;
    }

    HICON icon_ = nullptr; // ours, destroyed with the window or the next icon
};

} // namespace duskhall
