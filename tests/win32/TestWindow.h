#pragma once

#include <windows.h>

// A plain hidden top-level window for tests that need a real window handle.
class TestWindow {
  public:
    TestWindow()
        : handle_(CreateWindowExA(0, "STATIC", "duskhall test", WS_OVERLAPPEDWINDOW, 0, 0, 320, 240,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)) {}
    ~TestWindow() {
        if (handle_ != nullptr) {
            DestroyWindow(handle_);
        }
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND handle() const { return handle_; }

  private:
    HWND handle_;
};
