#include "DisplayFakes.h"

#include <gtest/gtest.h>

namespace {

using Events = std::vector<std::string>;

// A 320 x 240 window with an observer attached, as an open screen has it.
class WindowCoreTest : public ::testing::Test {
  protected:
    WindowCoreTest() : window(screen, 320, 240) {
        screen.open("duskhall", 320, 240, ScreenMode::Windowed, PixelMode::Integer);
        screen.setOwner(&owner);
        window.observer = &observer;
        window.outer = WindowRect{0, 0, 336, 279}; // client area 320 x 240
    }

    CountingScreen screen;
    ScreenCore owner;
    FakeWindow window;
    RecordingObserver observer;
};

TEST_F(WindowCoreTest, HeldKeyGivesOneKeyDownAStrokePerMessageAndOneKeyUp) {
    window.send(wm::KeyDown, 65);
    window.send(wm::KeyDown, 65);
    window.send(wm::KeyDown, 65);
    window.send(wm::KeyUp, 65);
    window.send(wm::KeyDown, 65);
    EXPECT_EQ(observer.events, (Events{"keyDown 65", "keyStroke 65", "keyStroke 65", "keyStroke 65",
                                       "keyUp 65", "keyDown 65", "keyStroke 65"}));
    // Observers are given the owner, not the implementation.
    for (Screen* given : observer.screens) {
        EXPECT_EQ(given, &owner);
    }
}

TEST_F(WindowCoreTest, SystemKeysRaiseTheSameCallbacks) {
    window.send(wm::SysKeyDown, 121); // F10
    window.send(wm::SysKeyUp, 121);
    EXPECT_EQ(observer.events, (Events{"keyDown 121", "keyStroke 121", "keyUp 121"}));
}

TEST_F(WindowCoreTest, EscapeRequestsCloseOnceWhileHeld) {
    window.send(wm::KeyDown, 27);
    window.send(wm::KeyDown, 27);
    EXPECT_EQ(observer.events, (Events{"keyDown 27", "keyStroke 27", "keyStroke 27"}));
    EXPECT_EQ(screen.closeRequests, 1);
}

TEST_F(WindowCoreTest, EscapeClosesWithoutAnObserverToo) {
    window.observer = nullptr;
    window.send(wm::KeyDown, 27);
    EXPECT_EQ(screen.closeRequests, 1);
    EXPECT_TRUE(window.keyLatched[27]);
    EXPECT_TRUE(observer.events.empty());
}

TEST_F(WindowCoreTest, AltEnterRequestsAToggleOnEveryRepeatAndNoKeyEvents) {
    window.alt = true;
    window.send(wm::SysKeyDown, 13);
    window.send(wm::SysKeyDown, 13);
    window.send(wm::SysKeyDown, 13);
    EXPECT_EQ(screen.toggleRequests, 3);
    EXPECT_FALSE(window.keyLatched[13]);
    EXPECT_TRUE(observer.events.empty());
    window.send(wm::SysKeyUp, 13);
    EXPECT_EQ(observer.events, (Events{"keyUp 10"}));
}

TEST_F(WindowCoreTest, EnterWithoutAltIsAnOrdinaryKeyWithCode10) {
    window.send(wm::KeyDown, 13);
    EXPECT_EQ(observer.events, (Events{"keyDown 10", "keyStroke 10"}));
    EXPECT_EQ(screen.toggleRequests, 0);
}

TEST_F(WindowCoreTest, MinusAndKeypadSeparatorShareACodeButNotALatch) {
    window.send(wm::KeyDown, 189); // -_
    window.send(wm::KeyDown, 108); // keypad separator
    window.send(wm::KeyDown, 189);
    EXPECT_EQ(observer.events, (Events{"keyDown 108", "keyStroke 108", "keyDown 108",
                                       "keyStroke 108", "keyStroke 108"}));
    window.send(wm::KeyUp, 189);
    EXPECT_FALSE(window.keyLatched[189]);
    EXPECT_TRUE(window.keyLatched[108]);
}

TEST_F(WindowCoreTest, OnlyTheLowByteOfWParamNamesTheKey) {
    window.send(wm::KeyDown, 0x1C0041); // repeat count and scan code bits must not matter
    EXPECT_EQ(observer.events, (Events{"keyDown 65", "keyStroke 65"}));
}

TEST_F(WindowCoreTest, LeftThenRightButtonCapturesOnceAndReleasesAtTheLast) {
    window.send(wm::LButtonDown, 0, mousePosition(10, 20));
    window.send(wm::RButtonDown, 0, mousePosition(11, 21));
    window.send(wm::LButtonUp, 0, mousePosition(12, 22));
    EXPECT_EQ(window.captures, 1);
    EXPECT_EQ(window.releases, 0);
    window.send(wm::RButtonUp, 0, mousePosition(13, 23));
    EXPECT_EQ(window.releases, 1);
    EXPECT_EQ(window.calls, (Events{"capture", "release"}));
    EXPECT_EQ(observer.events,
              (Events{"buttonDown L--", "buttonDown L-R", "buttonUp --R", "buttonUp ---"}));
    ASSERT_EQ(observer.mice.size(), 4u);
    EXPECT_FLOAT_EQ(observer.mice[0].x, 10.0f);
    EXPECT_FLOAT_EQ(observer.mice[3].y, 23.0f);
}

TEST_F(WindowCoreTest, MiddleButtonAndMovesOutsideTheWindowWhileCaptured) {
    window.send(wm::MButtonDown, 0, mousePosition(5, 5));
    window.send(wm::MouseMove, 0, mousePosition(-40, 700));
    window.send(wm::MButtonUp, 0, mousePosition(400, -3));
    EXPECT_EQ(observer.events, (Events{"buttonDown -M-", "pointerMoved -M-", "buttonUp ---"}));
    ASSERT_EQ(observer.mice.size(), 3u);
    EXPECT_FLOAT_EQ(observer.mice[1].x, -40.0f);
    EXPECT_FLOAT_EQ(observer.mice[1].y, 700.0f);
    EXPECT_FLOAT_EQ(observer.mice[2].x, 400.0f);
    EXPECT_FLOAT_EQ(observer.mice[2].y, -3.0f);
    EXPECT_EQ(window.captures, 1);
    EXPECT_EQ(window.releases, 1);
}

TEST_F(WindowCoreTest, MiddleThenLeftButtonCapturesOnceAndReleasesAtTheLast) {
    window.send(wm::MButtonDown, 0, mousePosition(5, 5));
    window.send(wm::LButtonDown, 0, mousePosition(6, 6));
    EXPECT_EQ(window.captures, 1) << "the middle button already holds the capture";
    window.send(wm::LButtonUp, 0, mousePosition(7, 7));
    EXPECT_EQ(window.releases, 0);
    window.send(wm::MButtonUp, 0, mousePosition(8, 8));
    EXPECT_EQ(window.calls, (Events{"capture", "release"}));
}

TEST_F(WindowCoreTest, ClicksAtTwiceTheZoomGiveHalfPixels) {
    window.clientOverridden = true;
    window.client = WindowSize{640, 480};
    window.send(wm::LButtonDown, 0, mousePosition(101, 51));
    ASSERT_EQ(observer.mice.size(), 1u);
    EXPECT_EQ(observer.mice[0].x, 50.5f);
    EXPECT_EQ(observer.mice[0].y, 25.5f);
}

TEST_F(WindowCoreTest, ZeroSizedClientAreaKeepsTheLastPosition) {
    window.clientOverridden = true;
    window.client = WindowSize{320, 240};
    window.send(wm::MouseMove, 0, mousePosition(30, 40));
    window.client = WindowSize{0, 240};
    window.send(wm::MouseMove, 0, mousePosition(99, 60));
    window.client = WindowSize{320, 0};
    window.send(wm::MouseMove, 0, mousePosition(70, 99));
    ASSERT_EQ(observer.mice.size(), 3u);
    EXPECT_EQ(observer.mice[1].x, 30.0f);
    EXPECT_EQ(observer.mice[1].y, 60.0f);
    EXPECT_EQ(observer.mice[2].x, 70.0f);
    EXPECT_EQ(observer.mice[2].y, 60.0f);
}

TEST_F(WindowCoreTest, WithoutObserverTheStateIsStillKept) {
    window.observer = nullptr;
    window.send(wm::LButtonDown, 0, mousePosition(7, 8));
    window.send(wm::KeyDown, 65);
    EXPECT_TRUE(window.mouse.left);
    EXPECT_EQ(window.mouse.x, 7.0f);
    EXPECT_TRUE(window.keyLatched[65]);
    EXPECT_EQ(window.captures, 1);
    EXPECT_TRUE(observer.events.empty());
}

TEST_F(WindowCoreTest, CloseAsksTheObserverThenRequestsTheClose) {
    window.send(wm::Close);
    EXPECT_EQ(observer.events, (Events{"closing"}));
    EXPECT_EQ(screen.closeRequests, 1);
    window.send(wm::Quit);
    EXPECT_EQ(screen.closeRequests, 2);
}

TEST_F(WindowCoreTest, AWindowDestroyedWithoutAnObserverStillEndsTheScreen) {
    window.observer = nullptr;
    window.send(wm::Close);
    EXPECT_EQ(screen.closeRequests, 0);
    // The system's default handling of the close destroys the window.
    window.send(wm::Destroy);
    EXPECT_TRUE(window.destroyed);
    EXPECT_EQ(screen.closeRequests, 1);
}

TEST_F(WindowCoreTest, ActivationFollowsTheLowHalfOfWParam) {
    window.send(wm::Activate, 1);
    EXPECT_TRUE(window.active);
    window.send(wm::Activate, 0x00010000); // inactive while minimised
    EXPECT_FALSE(window.active);
    window.send(wm::Activate, 0x00010002); // click-activated while minimised
    EXPECT_TRUE(window.active);
    EXPECT_EQ(observer.events, (Events{"focusChanged 1", "focusChanged 0", "focusChanged 1"}));
}

TEST_F(WindowCoreTest, CursorOverTheClientAreaFollowsTheStyle) {
    window.send(wm::SetCursor, 0, HitClient);
    window.send(wm::SetCursor, 0, 2); // caption: left to the system
    window.windowed = 0;
    window.send(wm::SetCursor, 0, (0x0200 << 16) | HitClient);
    EXPECT_EQ(window.calls, (Events{"cursor arrow", "cursor blank"}));
}

TEST_F(WindowCoreTest, PaintAndSizingPaint) {
    window.send(wm::Paint);
    const int builds = window.menuBuilds;
    window.send(wm::Sizing);
    EXPECT_EQ(screen.paints, 2);
    EXPECT_EQ(window.menuBuilds, builds + 1);
    window.send(wm::Size);
    EXPECT_EQ(window.menuBuilds, builds + 2);
}

TEST_F(WindowCoreTest, MenuAfterOpeningAfterADragAndAfterCentring) {
    window.applyWindowedStyle(320, 240);
    EXPECT_EQ(describeMenu(window.menuEntries),
              (Events{"1:-", "2:Original Size", "3:2x Zoom", "4:4x Zoom", "6:-", "8:Fullscreen"}));
    window.send(wm::Moving);
    EXPECT_FALSE(window.centred);
    EXPECT_EQ(describeMenu(window.menuEntries),
              (Events{"1:-", "2:Original Size", "3:2x Zoom", "4:4x Zoom", "6:-", "8:Fullscreen",
                      "9:-", "10:Center"}));
    const int builds = window.menuBuilds;
    window.send(wm::Moving); // already off centre: nothing to rebuild
    EXPECT_EQ(window.menuBuilds, builds);
    window.send(wm::SysCommand, menu::Centre);
    EXPECT_TRUE(window.centred);
    EXPECT_FALSE(window.menuEntries.contains(menu::Centre));

    window.screenArea = WindowSize{1280, 1024};
    window.isMinimised = true;
    window.send(wm::Size);
    EXPECT_EQ(describeMenu(window.menuEntries), (Events{"6:-", "8:Fullscreen"}));
    window.isMinimised = false;
    window.send(wm::Size);
    EXPECT_EQ(describeMenu(window.menuEntries),
              (Events{"1:-", "2:Original Size", "3:2x Zoom", "6:-", "8:Fullscreen"}));
}

TEST_F(WindowCoreTest, OpeningGivesAClientAreaOfTheFramebufferCentredAndHidden) {
    window.outer = WindowRect{0, 0, 320, 240}; // as created: outer size = framebuffer size
    window.applyWindowedStyle(320, 240);
    // The creation rectangle becomes the client area: outer 336 x 279.
    EXPECT_EQ(window.outer.width(), 336);
    EXPECT_EQ(window.outer.height(), 279);
    EXPECT_EQ(window.outer.left, 792);
    EXPECT_EQ(window.outer.top, 400);
    EXPECT_EQ(window.calls[0], "hide");
    EXPECT_EQ(window.calls[1], "style windowed");
    EXPECT_EQ(std::count(window.calls.begin(), window.calls.end(), "show"), 0);
    EXPECT_EQ(window.calls.back(), "cursor arrow");
    EXPECT_EQ(window.windowed, 1);
    EXPECT_TRUE(window.centred);
}

TEST_F(WindowCoreTest, ZoomCommandsResizeAroundTheCentre) {
    window.applyWindowedStyle(320, 240);
    window.send(wm::SysCommand, menu::Zoom2);
    EXPECT_EQ(window.outer.width() - 16, 640);
    EXPECT_EQ(window.outer.height() - 39, 480);
    EXPECT_EQ((window.outer.left + window.outer.right) / 2, 960);
    EXPECT_TRUE(window.centred);              // zoom leaves the flag alone
    window.send(wm::SysCommand, menu::Zoom8); // larger than the screen: held at (0, 0)
    EXPECT_EQ(window.outer.left, 0);
    EXPECT_EQ(window.outer.top, 0);
    EXPECT_EQ(window.outer.width(), 2576);
    window.send(wm::SysCommand, menu::OriginalSize);
    EXPECT_EQ(window.outer.width(), 336);
    window.send(wm::SysCommand, menu::Zoom4);
    EXPECT_EQ(window.outer.height(), 960 + 39);
}

TEST_F(WindowCoreTest, ModeCommandsGoToTheScreenAndOtherCommandsToTheSystem) {
    window.send(wm::SysCommand, menu::Fullscreen);
    window.send(wm::SysCommand, menu::Windowed);
    window.send(wm::SysCommand, 0xF060); // SC_CLOSE
    window.send(wm::SysCommand, menu::ModeSeparator);
    EXPECT_EQ(screen.fullscreenSwitches, 1);
    EXPECT_EQ(screen.windowedSwitches, 1);
    EXPECT_EQ(screen.closeRequests, 0);
    EXPECT_TRUE(window.calls.empty());
}

TEST_F(WindowCoreTest, FullscreenStyleAndBack) {
    window.applyWindowedStyle(320, 240);
    window.calls.clear();
    window.applyFullscreenStyle(320, 240);
    EXPECT_EQ(window.calls,
              (Events{"hide", "cursor blank", "style fullscreen", "move 0 0 1920 1080", "show"}));
    EXPECT_EQ(window.windowed, 0);
    EXPECT_EQ(describeMenu(window.menuEntries), (Events{"6:-", "7:Windowed"}));

    // Active fullscreen keeps the cursor hidden at every pump.
    window.calls.clear();
    window.pumpStarting();
    window.send(wm::Activate, 1);
    window.pumpStarting();
    EXPECT_EQ(window.calls, (Events{"cursor blank"}));

    // Back to windowed: the outer rectangle of that moment becomes the client area.
    window.applyWindowedStyle(320, 240);
    EXPECT_EQ(window.outer.width(), 1920 + 16);
    EXPECT_EQ(window.outer.left, 0); // larger than the screen: held at the corner
    window.send(wm::SysCommand, menu::OriginalSize);
    EXPECT_EQ(window.outer.width(), 336);
}

TEST_F(WindowCoreTest, FullscreenPopupIsAsLargeAsALargerFramebuffer) {
    window.applyFullscreenStyle(2400, 1200);
    EXPECT_EQ(window.outer.right, 2400);
    EXPECT_EQ(window.outer.bottom, 1200);
    EXPECT_EQ(window.width, 2400);
}

} // namespace
