#pragma once

#include <windows.h>

// A plain hidden top-level window for tests that need a real window handle,
// with a client area of the given size (a 320 x 240 frame's, by default).
class TestWindow {
  public:
    explicit TestWindow(int clientWidth = 320, int clientHeight = 240)
        : handle_(create(clientWidth, clientHeight)) {}
    ~TestWindow() {
        if (handle_ != nullptr) {
            DestroyWindow(handle_);
        }
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return handle_; }

  private:
    static HWND create(int clientWidth, int clientHeight) {
        RECT outer{0, 0, clientWidth, clientHeight};
        AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
        return CreateWindowExA(0, "STATIC", "duskhall test", WS_OVERLAPPEDWINDOW, 0, 0,
                               outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }

    HWND handle_;
};
