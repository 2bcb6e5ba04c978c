#include "tests/win32/Win32ScreenFixture.h"

namespace {

using Win32InputTest = Win32ScreenFixture;

// Through the real window procedure and message pump: the window must be a
// Unicode one for a surrogate pair to survive, and the wheel's distance is the
// high word of wParam.
TEST_F(Win32InputTest, CharactersAndTheWheelArriveThroughThePump) {
    screen->setObserver(&observer);
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(showFrame());
    observer.events.clear();
    for (WPARAM unit : {WPARAM{0x48}, WPARAM{0xE9}, WPARAM{0xD83D}, WPARAM{0xDE00}, WPARAM{0x1B}}) {
        PostMessageW(hwnd(), WM_CHAR, unit, 1);
    }
    PostMessageW(hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)), 0);
    PostMessageW(hwnd(), WM_MOUSEHWHEEL, MAKEWPARAM(0, 60), 0);
    ASSERT_TRUE(showFrame());
    EXPECT_EQ(observer.events,
              (std::vector<std::string>{"text H", "text \xC3\xA9", "text \xF0\x9F\x98\x80",
                                        "wheel 0 -1", "wheel 0 -1", "wheel 0.5 0"}));
}

TEST_F(Win32InputTest, TheHeldPointerIsConfinedToTheClientAreaUntilTheFocusGoes) {
    ASSERT_TRUE(openScreen());
    ASSERT_TRUE(showFrame());
    ASSERT_TRUE(screen->setRelativeMouse(true));
    RECT client = clientRect();
    MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT clip{};
    GetClipCursor(&clip);
    EXPECT_TRUE(EqualRect(&clip, &client))
        << "clip " << clip.left << "," << clip.top << " - " << clip.right << "," << clip.bottom
        << ", client " << client.left << "," << client.top << " - " << client.right << ","
        << client.bottom;
    POINT pointer{};
    GetCursorPos(&pointer);
    EXPECT_EQ(pointer.x, client.left + Width / 2);
    EXPECT_EQ(pointer.y, client.top + Height / 2);

    SendMessageW(hwnd(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(screen->relativeMouse());
    GetClipCursor(&clip);
    EXPECT_FALSE(EqualRect(&clip, &client)) << "still confined after losing the focus";
    // Out of the way of the windows later tests open at the screen's centre.
    SetCursorPos(0, 0);
}

} // namespace
