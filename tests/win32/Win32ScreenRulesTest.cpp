// Several screens at once, a refused close (kept from the default handling) and
// vsync on the Windows screen.
#include "tests/win32/Win32ScreenFixture.h"

#include <algorithm>
#include <string>

using namespace duskhall;

namespace {

using Win32ScreenRulesTest = Win32ScreenFixture;

bool contains(const std::vector<std::string>& events, const std::string& event) {
    return std::find(events.begin(), events.end(), event) != events.end();
}

TEST_F(Win32ScreenRulesTest, TwoScreensOfOneTitleEachGetTheirOwnMessages) {
    RecordingObserver otherObserver;
    root.AddRef(); // the second screen releases the root too
    Win32Screen other(&root);
    screen->setObserver(&observer);
    other.setObserver(&otherObserver);
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(other.open("duskhall", Width, Height, ScreenMode::Windowed, PixelMode::Integer));
    const HWND otherWindow = other.window()->hwnd;
    ASSERT_NE(otherWindow, hwnd());
    PostMessageA(hwnd(), WM_KEYDOWN, 'A', 0);
    PostMessageA(otherWindow, WM_KEYDOWN, 'B', 0);
    PostMessageA(otherWindow, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    // The other screen pumps first; this one's messages wait for its own frame.
    EXPECT_TRUE(other.showFrame(frame.data()));
    EXPECT_TRUE(showFrame());
    EXPECT_TRUE(contains(observer.events, "keyDown 65"));
    EXPECT_FALSE(contains(observer.events, "keyDown 66"));
    EXPECT_FALSE(contains(observer.events, "buttonDown L--"));
    EXPECT_TRUE(contains(otherObserver.events, "keyDown 66"));
    EXPECT_TRUE(contains(otherObserver.events, "buttonDown L--"));
    EXPECT_FALSE(contains(otherObserver.events, "keyDown 65"));
    // Closing one leaves the other working.
    other.close();
    PostMessageA(hwnd(), WM_KEYDOWN, 'C', 0);
    EXPECT_TRUE(showFrame());
    EXPECT_TRUE(contains(observer.events, "keyDown 67"));
}

TEST_F(Win32ScreenRulesTest, ARefusedCloseKeepsTheWindowAndTheScreen) {
    screen->setObserver(&observer);
    observer.closeAnswer = false;
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(showFrame());
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(showFrame());
    EXPECT_TRUE(contains(observer.events, "closing"));
    EXPECT_TRUE(IsWindow(hwnd()));
    EXPECT_TRUE(showFrame());
    EXPECT_TRUE(screen->isOpen());
}

TEST_F(Win32ScreenRulesTest, VsyncChoosesThePresentInterval) {
    screen->setVsync(false);
    ASSERT_TRUE(openScreen());
    EXPECT_EQ(root.lastDevice()->parameters.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    screen->setVsync(true);
    EXPECT_EQ(root.lastDevice()->resetParameters.PresentationInterval,
              static_cast<UINT>(D3DPRESENT_INTERVAL_DEFAULT));
    screen->close();
    ASSERT_TRUE(openScreen());
    EXPECT_EQ(root.lastDevice()->parameters.PresentationInterval,
              static_cast<UINT>(D3DPRESENT_INTERVAL_DEFAULT));
}

} // namespace
