#include "tests/win32/Win32ScreenFixture.h"

#include <algorithm>

namespace {

using Win32WindowTest = Win32ScreenFixture;

const MenuEntries windowedMenu = {{1, ""}, {2, "Original Size"}, {3, "2x Zoom"}, {4, "4x Zoom"},
                                  {6, ""}, {8, "Fullscreen"}};

// Presses or releases Alt for GetAsyncKeyState. The key messages that the press
// itself produces are dropped: a lone Alt release would put the window into its
// modal menu loop.
void holdAlt(bool held) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_MENU;
    input.ki.dwFlags = held ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
}

TEST_F(Win32WindowTest, SystemMenuAfterOpenAfterAMoveAndAfterCentring) {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920) << "the tests run on a 1920 x 1080 desktop";
    ASSERT_TRUE(openScreen());
    EXPECT_EQ(screenMenu(), windowedMenu) << "no 8x on 1920 x 1080, no Center after opening";

    RECT moving = outerRect();
    SendMessageA(hwnd(), WM_MOVING, 0, reinterpret_cast<LPARAM>(&moving));
    MenuEntries moved = windowedMenu;
    moved.emplace_back(9, "");
    moved.emplace_back(10, "Center");
    EXPECT_EQ(screenMenu(), moved);

    SetWindowPos(hwnd(), nullptr, 5, 7, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    menuCommand(10);
    EXPECT_EQ(screenMenu(), windowedMenu);
    const RECT outer = outerRect();
    EXPECT_EQ(outer.left, (1920 - (outer.right - outer.left)) >> 1);
    EXPECT_EQ(outer.top, (1080 - (outer.bottom - outer.top)) >> 1);
}

TEST_F(Win32WindowTest, MinimisedOrMaximisedWindowOffersNoZoom) {
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(showFrame());
    ShowWindow(hwnd(), SW_MINIMIZE);
    EXPECT_EQ(screenMenu(), (MenuEntries{{6, ""}, {8, "Fullscreen"}}));
    ShowWindow(hwnd(), SW_RESTORE);
    EXPECT_EQ(screenMenu(), windowedMenu);
    ShowWindow(hwnd(), SW_MAXIMIZE);
    const MenuEntries maximised = screenMenu();
    ASSERT_GE(maximised.size(), 2u);
    EXPECT_EQ(maximised[0], (std::pair<UINT, std::string>{6, ""}));
    EXPECT_EQ(maximised[1], (std::pair<UINT, std::string>{8, "Fullscreen"}));
}

TEST_F(Win32WindowTest, ZoomCommandsResizeTheClientAreaAroundTheOldCentre) {
    ASSERT_TRUE(openScreen());
    const RECT before = outerRect();
    menuCommand(3);
    RECT client = clientRect();
    EXPECT_EQ(client.right, 2 * Width);
    EXPECT_EQ(client.bottom, 2 * Height);
    const RECT after = outerRect();
    EXPECT_NEAR((after.left + after.right) / 2, (before.left + before.right) / 2, 1);
    EXPECT_NEAR((after.top + after.bottom) / 2, (before.top + before.bottom) / 2, 1);
    EXPECT_EQ(screenMenu(), windowedMenu);

    menuCommand(4);
    client = clientRect();
    EXPECT_EQ(client.right, 4 * Width);
    EXPECT_EQ(client.bottom, 4 * Height);

    menuCommand(2);
    client = clientRect();
    EXPECT_EQ(client.right, Width);
    EXPECT_EQ(client.bottom, Height);
    EXPECT_EQ(screen->screenMode(), ScreenMode::Windowed);
}

TEST_F(Win32WindowTest, FullscreenFromTheMenuReplacesTheDeviceAfterReleasingTheOld) {
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(showFrame());
    DWORD styleAtCreation = 0;
    root.accepts = [&](const CreationAttempt&) {
        styleAtCreation = style();
        return true;
    };
    log.clear();
    menuCommand(8);

    EXPECT_EQ(screen->screenMode(), ScreenMode::Fullscreen);
    EXPECT_FALSE(screen->output()->windowed());
    const int released =
        static_cast<int>(std::find(log.begin(), log.end(), "Release device") - log.begin());
    const int created =
        static_cast<int>(std::find(log.begin(), log.end(), "CreateDevice") - log.begin());
    EXPECT_LT(released, created) << "two devices never exist at once";
    EXPECT_EQ(log.at(0), "Release surface");
    EXPECT_EQ(styleAtCreation, static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_SYSMENU))
        << "the window is restyled before the device is made";
    EXPECT_EQ(screenMenu(), (MenuEntries{{6, ""}, {7, "Windowed"}}));
    EXPECT_TRUE(showFrame());

    menuCommand(7);
    EXPECT_EQ(screen->screenMode(), ScreenMode::Windowed);
    EXPECT_EQ(style(), FixedStyle);
    menuCommand(2);
    const RECT client = clientRect();
    EXPECT_EQ(client.right, Width) << "Original Size restores the framebuffer size";
    EXPECT_EQ(client.bottom, Height);
}

TEST_F(Win32WindowTest, OnlyTheFullscreenSwitchPumpsTheWindowsMessages) {
    screen->setObserver(&observer);
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(showFrame());
    auto seen = [&](const char* event) {
        return std::find(observer.events.begin(), observer.events.end(), event) !=
               observer.events.end();
    };
    PostMessageA(hwnd(), WM_KEYDOWN, 'F', 0);
    ASSERT_TRUE(screen->enterFullscreen());
    EXPECT_TRUE(seen("keyDown 70")) << "the switch to fullscreen pumps once";

    PostMessageA(hwnd(), WM_KEYDOWN, 'W', 0);
    ASSERT_TRUE(screen->enterWindowed());
    EXPECT_FALSE(seen("keyDown 87")) << "the switch back leaves the queue to the next frame";
    EXPECT_TRUE(showFrame());
    EXPECT_TRUE(seen("keyDown 87"));
}

TEST_F(Win32WindowTest, EnteringTheCurrentModeChangesNothing) {
    ASSERT_TRUE(openScreen());
    Direct3DOutput* output = screen->output();
    const std::size_t attempts = root.attempts.size();
    EXPECT_TRUE(screen->enterWindowed());
    EXPECT_EQ(screen->output(), output);
    EXPECT_EQ(root.attempts.size(), attempts);
    EXPECT_FALSE(IsWindowVisible(hwnd()));
}

TEST_F(Win32WindowTest, RefusedFullscreenGoesBackToTheWindowWhereItWas) {
    root.accepts = windowsOnly;
    ASSERT_TRUE(openScreen());
    menuCommand(3);
    SetWindowPos(hwnd(), nullptr, 40, 30, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    ASSERT_TRUE(showFrame());
    const RECT before = outerRect();
    const MenuEntries menuBefore = screenMenu();
    const std::size_t devices = root.devices.size();

    menuCommand(8);

    EXPECT_TRUE(screen->isOpen()) << "a refused switch must not end the program";
    EXPECT_EQ(screen->screenMode(), ScreenMode::Windowed);
    ASSERT_NE(screen->output(), nullptr);
    EXPECT_EQ(root.devices.size(), devices + 1) << "a new windowed device";
    EXPECT_EQ(root.devices[devices - 1]->references, 0u) << "the old one is released";
    EXPECT_TRUE(screen->output()->usable());
    EXPECT_TRUE(screen->output()->windowed());
    EXPECT_EQ(style(), FixedStyle);
    const RECT after = outerRect();
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_EQ(screenMenu(), menuBefore);
    EXPECT_TRUE(showFrame());
    EXPECT_TRUE(IsWindowVisible(hwnd())) << "the next frame shows the window again";
}

TEST_F(Win32WindowTest, RefusedWindowedGoesBackToFullscreen) {
    root.accepts = [](const CreationAttempt& attempt) { return !attempt.parameters.Windowed; };
    ASSERT_TRUE(openScreen(ScreenMode::Fullscreen));
    menuCommand(7);
    EXPECT_TRUE(screen->isOpen());
    EXPECT_EQ(screen->screenMode(), ScreenMode::Fullscreen);
    EXPECT_FALSE(screen->output()->windowed());
    EXPECT_EQ(style(), static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_SYSMENU));
}

TEST_F(Win32WindowTest, SwitchFailingBothWaysInsideThePumpClosesTheScreenAndStopsThePump) {
    root.accepts = windowsOnly;
    screen->setObserver(&observer);
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(showFrame());
    const HWND window = hwnd();
    root.accepts = [](const CreationAttempt&) { return false; };
    PostMessageA(window, WM_SYSCOMMAND, 8, 0);
    PostMessageA(window, WM_KEYDOWN, 'B', 0);
    observer.events.clear();

    EXPECT_FALSE(showFrame()) << "this frame closed the screen";

    EXPECT_FALSE(screen->isOpen());
    EXPECT_EQ(screen->window(), nullptr);
    EXPECT_EQ(screen->output(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(std::find(observer.events.begin(), observer.events.end(), "keyDown 66"),
              observer.events.end())
        << "nothing is handled after the window is gone";
    EXPECT_FALSE(showFrame()) << "a closed screen says so";
}

TEST_F(Win32WindowTest, AltEnterTogglesAtTheNextFrameAndRefusedToggleKeepsTheScreen) {
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(showFrame());
    holdAlt(true);
    ASSERT_NE(GetAsyncKeyState(VK_MENU), 0) << "Alt must read as held";
    PostMessageA(hwnd(), WM_SYSKEYDOWN, VK_RETURN, 0);
    PostMessageA(hwnd(), WM_SYSKEYDOWN, VK_RETURN, 0x40000000);
    EXPECT_TRUE(showFrame());
    holdAlt(false);
    EXPECT_TRUE(screen->toggleRequested());
    EXPECT_EQ(screen->screenMode(), ScreenMode::Windowed) << "the switch waits for the frame";
    EXPECT_TRUE(showFrame());
    EXPECT_EQ(screen->screenMode(), ScreenMode::Fullscreen)
        << "one switch per frame however often the key repeated";
    EXPECT_FALSE(screen->toggleRequested());

    root.accepts = windowsOnly;
    holdAlt(true);
    PostMessageA(hwnd(), WM_SYSKEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(showFrame());
    holdAlt(false);
    EXPECT_TRUE(showFrame());
    EXPECT_EQ(screen->screenMode(), ScreenMode::Windowed);

    holdAlt(true);
    PostMessageA(hwnd(), WM_SYSKEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(showFrame());
    holdAlt(false);
    EXPECT_TRUE(showFrame()) << "the refused fullscreen keeps the window";
    EXPECT_TRUE(screen->isOpen());
    EXPECT_EQ(screen->screenMode(), ScreenMode::Windowed);
}

TEST_F(Win32WindowTest, MouseIsScaledToTheFramebufferAndCapturedWhileAButtonIsHeld) {
    screen->setObserver(&observer);
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(showFrame());
    menuCommand(3);
    PostMessageA(hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(101, 51));
    ASSERT_TRUE(showFrame());
    ASSERT_FALSE(observer.mice.empty());
    EXPECT_FLOAT_EQ(observer.mice.back().x, 50.5f);
    EXPECT_FLOAT_EQ(observer.mice.back().y, 25.5f);
    EXPECT_TRUE(observer.mice.back().left);
    EXPECT_EQ(GetCapture(), hwnd());

    PostMessageA(hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(-20, 700));
    ASSERT_TRUE(showFrame());
    EXPECT_EQ(observer.events.back(), "buttonUp ---");
    EXPECT_FLOAT_EQ(observer.mice.back().x, -10.0f) << "outside the frame while captured";
    EXPECT_FLOAT_EQ(observer.mice.back().y, 350.0f);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Win32WindowTest, CursorIsArrowWindowedAndBlankInActiveFullscreen) {
    ASSERT_TRUE(openScreen());
    AppWindow* window = screen->window();
    ASSERT_NE(window->blankCursor, nullptr);
    ASSERT_NE(window->arrowCursor, nullptr);
    SendMessageA(hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd()), HTCLIENT);
    EXPECT_EQ(GetCursor(), window->arrowCursor);
    menuCommand(8);
    SendMessageA(hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd()), HTCLIENT);
    EXPECT_EQ(GetCursor(), window->blankCursor);
}

// The sizing frame comes and goes with resizable, the client area staying as it
// is; a resize from outside and a zoom are each told once, and the picture is
// presented into its rectangle of the new client area.
TEST_F(Win32WindowTest, ResizableFrameResizedAndZoom) {
    class SizeObserver : public InputObserver {
      public:
        void resized(Screen&, std::int32_t width, std::int32_t height) override {
            sizes.push_back(std::to_string(width) + "x" + std::to_string(height));
        }
        std::vector<std::string> sizes;
    } sizes;
    ASSERT_TRUE(openScreen());
    screen->setObserver(&sizes);
    ASSERT_TRUE(showFrame());
    ASSERT_TRUE(screen->setResizable(true));
    EXPECT_EQ(style(), static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(clientRect().right, Width);
    EXPECT_EQ(clientRect().bottom, Height);
    EXPECT_TRUE(sizes.sizes.empty());

    // As a drag of the frame ends: a new outer size, WM_SIZE from the system.
    RECT outer{0, 0, 800, 300};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, FALSE);
    SetWindowPos(hwnd(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_TRUE(showFrame());
    ASSERT_TRUE(showFrame());
    EXPECT_EQ(sizes.sizes, (std::vector<std::string>{"800x300"}));
    FakeDevice* device = root.lastDevice();
    EXPECT_TRUE(device->presentHadArguments);
    EXPECT_EQ(device->presentDestination.left, 200); // Fit: 400 x 300 in the middle
    EXPECT_EQ(device->presentDestination.right, 600);

    ASSERT_TRUE(screen->setZoom(2));
    EXPECT_EQ(clientRect().right, 2 * Width);
    EXPECT_EQ(clientRect().bottom, 2 * Height);
    ASSERT_TRUE(screen->setResizable(false));
    EXPECT_EQ(style(), FixedStyle);
    EXPECT_EQ(clientRect().right, 2 * Width) << "the client area keeps its size";
    EXPECT_EQ(sizes.sizes, (std::vector<std::string>{"800x300", "640x480"}));
    EXPECT_FALSE(screen->setZoom(100));
    const Size desktop = screen->desktopSize();
    EXPECT_GT(desktop.width, 0);
    EXPECT_GE(screen->displayScale(), 1.0f);
    screen->setObserver(&observer);
}

} // namespace

namespace {

HICON iconOf(HWND window, WPARAM kind) {
    return reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, kind, 0));
}

bool topmost(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// The icon's colour bitmap, read back as 0xAARRGGBB rows.
std::vector<PackedPixel> iconPixels(HICON icon, int width, int height) {
    std::vector<PackedPixel> pixels(static_cast<std::size_t>(width) * height);
    ICONINFO info{};
    if (icon == nullptr || GetIconInfo(icon, &info) == 0) {
        return {};
    }
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    const HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(height), pixels.data(),
                               &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return rows == height ? pixels : std::vector<PackedPixel>{};
}

} // namespace

TEST_F(Win32WindowTest, BorderlessTopmostAndTheIconReachTheWindowAndOutliveASwitchAndAReopen) {
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(showFrame());
    const RECT clientBefore = clientRect();
    POINT originBefore{0, 0};
    ClientToScreen(hwnd(), &originBefore);
    const PackedPixel icon[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0x80FFFFFFu};
    ASSERT_TRUE(screen->setBorderless(true));
    ASSERT_TRUE(screen->setAlwaysOnTop(true));
    ASSERT_TRUE(screen->setIcon(icon, 2, 2));

    // The frame goes, the client area stays where it was, and the window stays shown.
    EXPECT_EQ(style() & (WS_CAPTION | WS_THICKFRAME | WS_POPUP), static_cast<DWORD>(WS_POPUP));
    EXPECT_TRUE(IsWindowVisible(hwnd()));
    const RECT outer = outerRect();
    EXPECT_EQ(outer.left, originBefore.x);
    EXPECT_EQ(outer.top, originBefore.y);
    EXPECT_EQ(outer.right - outer.left, clientBefore.right);
    EXPECT_EQ(outer.bottom - outer.top, clientBefore.bottom);
    EXPECT_TRUE(topmost(hwnd()));
    const HICON big = iconOf(hwnd(), ICON_BIG);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(iconOf(hwnd(), ICON_SMALL), big);
    EXPECT_EQ(iconPixels(big, 2, 2), std::vector<PackedPixel>(icon, icon + 4));

    // Fullscreen is its own popup; back windowed, the window is borderless again.
    menuCommand(8);
    EXPECT_EQ(style(), static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_SYSMENU));
    menuCommand(7);
    EXPECT_EQ(style() & (WS_CAPTION | WS_POPUP), static_cast<DWORD>(WS_POPUP));

    // A new window has all of it before it is first shown.
    ASSERT_TRUE(openScreen());
    EXPECT_EQ(style() & (WS_CAPTION | WS_POPUP), static_cast<DWORD>(WS_POPUP));
    EXPECT_EQ(clientRect().right, Width);
    EXPECT_TRUE(topmost(hwnd()));
    EXPECT_NE(iconOf(hwnd(), ICON_BIG), nullptr);

    // Off again: framed and among the others.
    ASSERT_TRUE(screen->setBorderless(false));
    ASSERT_TRUE(screen->setAlwaysOnTop(false));
    EXPECT_EQ(style() & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
    EXPECT_EQ(clientRect().right, Width);
    EXPECT_FALSE(topmost(hwnd()));
}
