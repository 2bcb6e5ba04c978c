#include <duskhall/ScreenHandle.h>

#include "display/DisplayError.h"
#include "tests/win32/Win32ScreenFixture.h"

#include <algorithm>
#include <cstring>
#include <string>

using namespace duskhall;

namespace {

using Win32ScreenTest = Win32ScreenFixture;

int firstIndex(const EventLog& log, const std::string& event, std::size_t from = 0) {
    auto found = std::find(log.begin() + static_cast<std::ptrdiff_t>(from), log.end(), event);
    return found == log.end() ? -1 : static_cast<int>(found - log.begin());
}

TEST_F(Win32ScreenTest, OpensWindowedHiddenCentredWithTheFramebufferAsClientArea) {
    ASSERT_TRUE(openScreen());
    EXPECT_TRUE(screen->isOpen());
    EXPECT_EQ(screen->screenMode(), ScreenMode::Windowed);
    ASSERT_NE(hwnd(), nullptr);

    char className[64] = {};
    GetClassNameA(hwnd(), className, sizeof className);
    EXPECT_STREQ(className, "duskhall");
    char caption[64] = {};
    GetWindowTextA(hwnd(), caption, sizeof caption);
    EXPECT_STREQ(caption, "duskhall");
    EXPECT_EQ(style(), FixedStyle);
    EXPECT_FALSE(IsWindowVisible(hwnd())) << "hidden until the first frame";

    const RECT client = clientRect();
    EXPECT_EQ(client.right - client.left, Width);
    EXPECT_EQ(client.bottom - client.top, Height);
    const RECT outer = outerRect();
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(outer.left, std::max<LONG>(0, (screenWidth - (outer.right - outer.left)) >> 1));
    EXPECT_EQ(outer.top, std::max<LONG>(0, (screenHeight - (outer.bottom - outer.top)) >> 1));

    ASSERT_NE(screen->output(), nullptr);
    EXPECT_TRUE(screen->output()->windowed());
    EXPECT_EQ(root.attempts.at(0).focusWindow, hwnd());
    EXPECT_EQ(reinterpret_cast<AppWindow*>(GetWindowLongPtrA(hwnd(), GWLP_USERDATA)),
              screen->window())
        << "the record is attached to its window";
}

TEST_F(Win32ScreenTest, FirstFrameIsPresentedThenTheWindowShown) {
    ASSERT_TRUE(openScreen());
    EXPECT_TRUE(showFrame());
    EXPECT_TRUE(IsWindowVisible(hwnd()));
    FakeDevice* device = root.lastDevice();
    EXPECT_GE(device->presents, 1);
    EXPECT_EQ(std::memcmp(device->surface->memory.data(), frame.data(), frame.size() * 4), 0);
    EXPECT_TRUE(showFrame());
    EXPECT_GE(device->presents, 2);
}

TEST_F(Win32ScreenTest, OpenWithModeTwoOrAboveGoesFullscreen) {
    for (int mode : {2, 7}) {
        SCOPED_TRACE(mode);
        ASSERT_TRUE(openScreen(static_cast<ScreenMode>(mode)));
        EXPECT_EQ(screen->screenMode(), ScreenMode::Fullscreen);
        EXPECT_FALSE(screen->output()->windowed());
        EXPECT_EQ(style(), static_cast<DWORD>(WS_POPUP | WS_BORDER | WS_SYSMENU));
        EXPECT_TRUE(IsWindowVisible(hwnd()));
        const RECT outer = outerRect();
        EXPECT_EQ(outer.left, 0);
        EXPECT_EQ(outer.top, 0);
        EXPECT_EQ(outer.right, std::max<LONG>(Width, GetSystemMetrics(SM_CXSCREEN)));
        EXPECT_EQ(outer.bottom, std::max<LONG>(Height, GetSystemMetrics(SM_CYSCREEN)));
    }
}

TEST_F(Win32ScreenTest, OpeningFailsAndClosesWhenNoDeviceCanBeMade) {
    root.accepts = [](const CreationAttempt&) { return false; };
    EXPECT_FALSE(openScreen());
    EXPECT_FALSE(screen->isOpen());
    EXPECT_EQ(screen->screenMode(), ScreenMode::Unspecified);
    EXPECT_EQ(screen->window(), nullptr);
    EXPECT_EQ(screen->output(), nullptr);

    Win32Screen withoutDirect3D(nullptr);
    EXPECT_FALSE(withoutDirect3D.open("duskhall", Width, Height, ScreenMode::Unspecified,
                                      PixelMode::Integer));
    EXPECT_FALSE(withoutDirect3D.isOpen());
}

TEST_F(Win32ScreenTest, LongTitleOpensWithItsWholeCaption) {
    std::string title = "duskhall ";
    while (title.size() < 300) {
        title += static_cast<char>('a' + title.size() % 26);
    }
    ASSERT_TRUE(
        screen->open(title.c_str(), Width, Height, ScreenMode::Unspecified, PixelMode::Integer))
        << displayError();
    EXPECT_EQ(std::string(screen->title()), title.substr(0, 255));
    char caption[400] = {};
    GetWindowTextA(hwnd(), caption, sizeof caption);
    EXPECT_EQ(std::string(caption), title) << "the caption is the caller's text";
    char className[400] = {};
    GetClassNameA(hwnd(), className, sizeof className);
    EXPECT_EQ(std::string(className), title.substr(0, 255));

    ASSERT_TRUE(
        screen->open(title.c_str(), Width, Height, ScreenMode::Unspecified, PixelMode::Integer))
        << "the class is registered again";

    ASSERT_TRUE(
        screen->open(screen->title(), Width, Height, ScreenMode::Unspecified, PixelMode::Integer))
        << "reopening with the screen's own title";
    GetWindowTextA(hwnd(), caption, sizeof caption);
    EXPECT_EQ(std::string(caption), title.substr(0, 255));
}

TEST_F(Win32ScreenTest, FailedOpensLeaveAReasonForTheUser) {
    setDisplayError("");
    root.accepts = [](const CreationAttempt&) { return false; };
    EXPECT_FALSE(openScreen());
    EXPECT_STREQ(displayError(), "no usable Direct3D device");

    Win32Screen withoutDirect3D(nullptr);
    EXPECT_FALSE(withoutDirect3D.open("duskhall", Width, Height, ScreenMode::Unspecified,
                                      PixelMode::Integer));
    EXPECT_STREQ(displayError(), "no Direct3D 9");

    // A class name Windows cannot register.
    setDisplayError("");
    EXPECT_FALSE(screen->open("", Width, Height, ScreenMode::Unspecified, PixelMode::Integer));
    EXPECT_EQ(std::string(displayError()).rfind("no window: ", 0), 0u) << displayError();
    EXPECT_GT(std::strlen(displayError()), std::strlen("no window: "));
    EXPECT_EQ(screen->window(), nullptr);
    EXPECT_FALSE(screen->isOpen());
}

TEST_F(Win32ScreenTest, CloseReleasesSurfaceThenDeviceAndKeepsTheRootForTheNextOpen) {
    ASSERT_TRUE(openScreen());
    const HWND first = hwnd();
    log.clear();
    screen->close();
    EXPECT_EQ(log, (EventLog{"Release surface", "Release device"}));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(screen->isOpen());
    EXPECT_EQ(screen->screenMode(), ScreenMode::Unspecified);
    EXPECT_EQ(screen->pixelMode(), PixelMode::Float);
    EXPECT_EQ(screen->direct3d(), &root);

    ASSERT_TRUE(openScreen());
    EXPECT_EQ(root.devices.size(), 2u) << "a new device from the same root";
    EXPECT_TRUE(showFrame());

    screen.reset();
    EXPECT_EQ(log.back(), "Release direct3d");
    EXPECT_EQ(root.references, 0u);
}

TEST_F(Win32ScreenTest, OpenOnAnOpenScreenBuildsEverythingAgain) {
    ASSERT_TRUE(openScreen());
    const HWND first = hwnd();
    ASSERT_TRUE(openScreen());
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(hwnd()));
    EXPECT_EQ(root.devices.size(), 2u);
    EXPECT_EQ(root.devices[0]->references, 0u);
}

TEST_F(Win32ScreenTest, EscapeAndCloseMessagesEndTheScreenAtTheNextFrame) {
    screen->setObserver(&observer);
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(showFrame());
    {
        SCOPED_TRACE("Escape");
        PostMessageA(hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(showFrame()) << "the pump only raises the request";
        EXPECT_TRUE(screen->closeRequested());
        const HWND window = hwnd();
        FakeDevice* device = root.lastDevice();
        const int presents = device->presents;
        const int locks = device->surface->locks;
        EXPECT_FALSE(showFrame());
        EXPECT_EQ(device->presents, presents) << "the closing frame is not shown";
        EXPECT_EQ(device->surface->locks, locks);
        EXPECT_FALSE(screen->isOpen());
        EXPECT_FALSE(IsWindow(window));
        EXPECT_NE(std::find(observer.events.begin(), observer.events.end(), "keyDown 27"),
                  observer.events.end());
    }
    {
        SCOPED_TRACE("close box");
        ASSERT_TRUE(openScreen());
        ASSERT_TRUE(showFrame());
        observer.events.clear();
        PostMessageA(hwnd(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(showFrame());
        EXPECT_EQ(firstIndex(observer.events, "closing"), 0);
        EXPECT_FALSE(showFrame());
        EXPECT_FALSE(screen->isOpen());
    }
}

TEST_F(Win32ScreenTest, CloseBoxWithoutObserverStillEndsTheScreen) {
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(showFrame());
    const HWND window = hwnd();
    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(showFrame());
    EXPECT_FALSE(IsWindow(window)) << "the default handling destroyed the window";
    EXPECT_FALSE(showFrame());
    EXPECT_FALSE(screen->isOpen());
}

TEST_F(Win32ScreenTest, ObserversSeeTheHandleAndFollowSetObserverAtOnce) {
    RecordingObserver& before = observer;
    RecordingObserver after;
    auto owned = std::make_unique<Win32Screen>(&root);
    root.AddRef();
    Win32Screen* raw = owned.get();
    raw->setObserver(&before);
    ScreenHandle handle(std::move(owned), "duskhall", Width, Height, ScreenMode::Unspecified,
                        PixelMode::Integer);
    ASSERT_TRUE(handle.isOpen());
    ASSERT_EQ(firstIndex(before.events, "opened") >= 0, true);
    for (Screen* given : before.screens) {
        EXPECT_EQ(given, &handle);
    }

    handle.setObserver(&after);
    PostMessageA(raw->window()->hwnd, WM_KEYDOWN, 'A', 0);
    PostMessageA(raw->window()->hwnd, WM_KEYUP, 'A', 0);
    handle.showFrame(frame.data());
    EXPECT_EQ(firstIndex(after.events, "opened"), -1) << "opened only for the earlier observer";
    EXPECT_NE(firstIndex(after.events, "keyDown 65"), -1);
    EXPECT_NE(firstIndex(after.events, "keyUp 65"), -1);
    handle.close();
}

TEST_F(Win32ScreenTest, PaintPresentsTheLastFrameOrFillsBlackWithoutAUsableDevice) {
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(showFrame());
    FakeDevice* device = root.lastDevice();
    const int presents = device->presents;
    EXPECT_TRUE(screen->paint());
    EXPECT_EQ(device->presents, presents + 1);

    // Paint something white, lose the device, and the paint must cover it in black.
    HDC dc = GetDC(hwnd());
    RECT client = clientRect();
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(hwnd(), dc);
    device->cooperativeLevel = D3DERR_DEVICELOST;
    EXPECT_TRUE(screen->paint());
    EXPECT_EQ(device->presents, presents + 1);
    dc = GetDC(hwnd());
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(dc, Width - 2, Height - 2), RGB(0, 0, 0));
    ReleaseDC(hwnd(), dc);
    EXPECT_EQ(device->resets, 0) << "only an upload resets a device";

    device->presentResult = D3DERR_DRIVERINTERNALERROR;
    device->cooperativeLevel = D3D_OK;
    EXPECT_FALSE(screen->paint()) << "a usable device whose present fails";
}

TEST_F(Win32ScreenTest, PaintOnAClosedScreenTouchesNothing) {
    EXPECT_TRUE(screen->paint());
    EXPECT_TRUE(log.empty());
}

} // namespace
