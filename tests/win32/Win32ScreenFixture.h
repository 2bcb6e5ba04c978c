#pragma once

#include "display/win32/Win32Screen.h"
#include "tests/display/DisplayFakes.h"
#include "tests/win32/FakeDirect3D.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace duskhall;

// A Win32Screen with a real window under a fake Direct3D root.
class Win32ScreenFixture : public ::testing::Test {
  protected:
    static constexpr int Width = 320;
    static constexpr int Height = 240;
    // The windowed style of a window the user cannot resize (the default).
    static constexpr DWORD FixedStyle = WS_OVERLAPPEDWINDOW & ~(WS_THICKFRAME | WS_MAXIMIZEBOX);

    bool openScreen(ScreenMode mode = ScreenMode::Unspecified) {
        return screen->open("duskhall", Width, Height, mode, PixelMode::Integer);
    }
    HWND hwnd() const { return screen->window() != nullptr ? screen->window()->hwnd : nullptr; }
    bool showFrame() { return screen->showFrame(frame.data()); }

    RECT clientRect() const {
        RECT client{};
        GetClientRect(hwnd(), &client);
        return client;
    }
    RECT outerRect() const {
        RECT outer{};
        GetWindowRect(hwnd(), &outer);
        return outer;
    }
    DWORD style() const {
        return static_cast<DWORD>(GetWindowLongA(hwnd(), GWL_STYLE)) &
               (WS_OVERLAPPEDWINDOW | WS_POPUP | WS_BORDER | WS_SYSMENU);
    }

    // The screen's own entries of the system menu (ids 1 to 10), in menu order.
    std::vector<std::pair<UINT, std::string>> screenMenu() const {
        std::vector<std::pair<UINT, std::string>> entries;
        HMENU menu = GetSystemMenu(hwnd(), FALSE);
        const int count = GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
            const UINT id = GetMenuItemID(menu, i);
            if (id >= 1 && id <= 10) {
                char text[64] = {};
                GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
                entries.emplace_back(id, text);
            }
        }
        return entries;
    }

    // Sends a system-menu command the way the menu does.
    void menuCommand(UINT id) { SendMessageA(hwnd(), WM_SYSCOMMAND, id, 0); }

    static bool windowsOnly(const CreationAttempt& attempt) {
        return attempt.parameters.Windowed != FALSE;
    }

    EventLog log;
    FakeDirect3D root{log};
    // Outlives the screen, which still sends it messages while it closes.
    RecordingObserver observer;
    std::unique_ptr<Win32Screen> screen = std::make_unique<Win32Screen>(&root);
    std::vector<PackedPixel> frame = std::vector<PackedPixel>(Width * Height, 0xFF336699u);
};

using MenuEntries = std::vector<std::pair<UINT, std::string>>;
