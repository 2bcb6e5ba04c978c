// The wheel, typed text, pointer changes, the held pointer, the cursor and the
// modifiers, fed as window messages and through the screen's settings.
#include "DisplayFakes.h"
#include "display/DisplayError.h"
#include "display/ModifierKeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Events = std::vector<std::string>;

class WindowInputTest : public ::testing::Test {
  protected:
    WindowInputTest() : window(screen, 320, 240) {
        screen.open("duskhall", 320, 240, ScreenMode::Windowed, PixelMode::Integer);
        window.observer = &observer;
        window.clientOverridden = true;
        window.client = WindowSize{640, 480}; // zoomed twice
    }

    CountingScreen screen;
    FakeWindow window;
    RecordingObserver observer;
};

TEST_F(WindowInputTest, WheelGivesOneCallPerNotchOrOnePerPreciseScroll) {
    struct Case {
        std::uint32_t message;
        std::uintptr_t wParam;
        Events expected;
    };
    const Case cases[] = {
        {wm::MouseWheel, wheelParam(120), {"wheel 0 1"}},
        // The low word holds the buttons and keys held; only the high word counts.
        {wm::MouseWheel, wheelParam(-360) | 0x0008, {"wheel 0 -1", "wheel 0 -1", "wheel 0 -1"}},
        {wm::MouseWheel, wheelParam(30), {"wheel 0 0.25"}},
        {wm::MouseWheel, wheelParam(-180), {"wheel 0 -1.5"}},
        {wm::MouseHWheel, wheelParam(240), {"wheel 1 0", "wheel 1 0"}},
        {wm::MouseHWheel, wheelParam(-120), {"wheel -1 0"}},
        {wm::MouseWheel, 0x0008, {}},
    };
    for (const Case& c : cases) {
        observer.events.clear();
        window.send(c.message, c.wParam);
        EXPECT_EQ(observer.events, c.expected) << std::hex << c.wParam;
    }
}

TEST_F(WindowInputTest, TypedCharactersJoinSurrogatePairsAndDropControlCharacters) {
    struct Case {
        std::vector<std::pair<std::uint32_t, std::uintptr_t>> messages;
        Events expected;
    };
    const Case cases[] = {
        {{{wm::Char, 'H'}, {wm::Char, 'i'}, {wm::Char, '!'}}, {"text H", "text i", "text !"}},
        {{{wm::Char, 0xE9}, {wm::Char, 0x20AC}}, {"text \xC3\xA9", "text \xE2\x82\xAC"}},
        {{{wm::Char, 0xD83D}, {wm::Char, 0xDE00}}, {"text \xF0\x9F\x98\x80"}},
        // A surrogate without its partner is a replacement character, never joined
        // to what follows.
        {{{wm::Char, 0xD83D}, {wm::Char, 'b'}}, {"text \xEF\xBF\xBD", "text b"}},
        {{{wm::Char, 0xDE00}}, {"text \xEF\xBF\xBD"}},
        {{{wm::Char, 0xD83D}, {wm::Char, 0xD83D}, {wm::Char, 0xDE00}},
         {"text \xEF\xBF\xBD", "text \xF0\x9F\x98\x80"}},
        {{{wm::Char, 0xD83D}, {wm::Activate, 0}, {wm::Char, 0xDE00}},
         {"focusChanged 0", "text \xEF\xBF\xBD"}},
        // Backspace, Return, Escape, Ctrl+A, DEL and a C1 control are keys, not text.
        {{{wm::Char, 0x08},
          {wm::Char, 0x0D},
          {wm::Char, 0x1B},
          {wm::Char, 0x01},
          {wm::Char, 0x7F},
          {wm::Char, 0x9B}},
         {}},
        {{{wm::UniChar, 0x1F600},
          {wm::UniChar, 0xFFFF},
          {wm::UniChar, 0xD800},
          {wm::UniChar, 0x110000},
          {wm::UniChar, 0x41}},
         {"text \xF0\x9F\x98\x80", "text A"}},
    };
    for (const Case& c : cases) {
        observer.events.clear();
        for (const auto& message : c.messages) {
            window.send(message.first, message.second);
        }
        EXPECT_EQ(observer.events, c.expected) << std::hex << c.messages.front().second;
    }
}

TEST_F(WindowInputTest, MovesCarryTheirChangeInFramePixels) {
    window.send(wm::MouseMove, 0, mousePosition(100, 100));
    window.send(wm::MouseMove, 0, mousePosition(110, 90));
    window.send(wm::LButtonDown, 0, mousePosition(120, 90));
    window.send(wm::MouseMove, 0, mousePosition(124, 94));
    ASSERT_EQ(observer.mice.size(), 4u);
    EXPECT_EQ(observer.mice[0].dx, 0.0f) << "the first move has nothing to differ from";
    EXPECT_EQ(observer.mice[1].dx, 5.0f);
    EXPECT_EQ(observer.mice[1].dy, -5.0f);
    EXPECT_EQ(observer.mice[3].x, 62.0f);
    EXPECT_EQ(observer.mice[3].dx, 2.0f) << "measured from where the button was pressed";
    EXPECT_EQ(observer.mice[3].dy, 2.0f);
}

TEST_F(WindowInputTest, AHeldPointerReportsChangesOnlyAndKeepsItsPosition) {
    window.send(wm::MouseMove, 0, mousePosition(100, 60));
    ASSERT_TRUE(window.setPointerHeld(true));
    window.send(wm::MouseMove, 0, mousePosition(300, 300)); // positions no longer count
    window.send(wm::MouseDelta, 0, mousePosition(10, -6));
    window.send(wm::LButtonDown, 0, mousePosition(0, 0));
    ASSERT_TRUE(window.setPointerHeld(false));
    window.send(wm::MouseDelta, 0, mousePosition(10, 10)); // from before the release
    EXPECT_EQ(observer.events, (Events{"pointerMoved ---", "pointerMoved ---", "buttonDown L--"}));
    ASSERT_EQ(observer.mice.size(), 3u);
    EXPECT_EQ(observer.mice[1].x, 50.0f);
    EXPECT_EQ(observer.mice[1].y, 30.0f);
    EXPECT_EQ(observer.mice[1].dx, 5.0f);
    EXPECT_EQ(observer.mice[1].dy, -3.0f);
    EXPECT_EQ(observer.mice[2].x, 50.0f);
    EXPECT_EQ(window.calls, (Events{"hold", "cursor blank", "capture", "let go", "cursor arrow"}));
}

TEST_F(WindowInputTest, APointerHeldByWarpingIsPutBackAtTheCentreAfterEachMove) {
    window.holdByWarping();
    ASSERT_TRUE(window.setPointerHeld(true));
    window.send(wm::MouseMove, 0, mousePosition(320, 240)); // arriving at the centre
    window.send(wm::MouseMove, 0, mousePosition(330, 236));
    ASSERT_EQ(observer.mice.size(), 1u);
    EXPECT_EQ(observer.mice[0].dx, 5.0f);
    EXPECT_EQ(observer.mice[0].dy, -2.0f);
    EXPECT_EQ(window.calls, (Events{"hold", "warp 320 240", "cursor blank", "warp 320 240"}));
}

TEST(ModifierKeys, EachSidesVirtualKeyHasItsOwnBit) {
    static std::vector<int> held;
    const auto isHeld = [](int key) {
        return std::find(held.begin(), held.end(), key) != held.end();
    };
    const std::pair<std::vector<int>, std::uint32_t> cases[] = {
        {{}, 0},
        {{0xA0}, Modifiers::LeftShift},
        {{0xA1, 0xA3}, Modifiers::RightShift | Modifiers::RightControl},
        {{0xA2, 0xA5}, Modifiers::LeftControl | Modifiers::RightAlt}, // AltGr as Windows has it
        {{0xA4, 0x5B, 0x5C}, Modifiers::LeftAlt | Modifiers::Super},
        {{0x10, 0x11, 0x12}, 0}, // the sideless keys say nothing of a side
    };
    for (const auto& c : cases) {
        held = c.first;
        EXPECT_EQ(modifiersFromVirtualKeys(isHeld).bits, c.second);
    }
}

// The settings through a screen over a platform of plain values.
class ScreenInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(screen.open("input", 320, 240, ScreenMode::Windowed, PixelMode::Integer));
        screen.setObserver(&observer);
    }
    FakePlatformScreen screen;
    RecordingObserver observer;
};

TEST_F(ScreenInputTest, AClosedScreenRefusesTheSettingsAndHoldsNoModifiers) {
    screen.window()->heldKeys = Modifiers{Modifiers::LeftShift};
    EXPECT_EQ(screen.modifiers(), Modifiers{Modifiers::LeftShift});
    screen.close();
    EXPECT_EQ(screen.modifiers(), Modifiers{});
    setDisplayError("");
    EXPECT_FALSE(screen.setCursorVisible(false));
    EXPECT_STREQ(displayError(), "setCursorVisible: the screen is not open");
    EXPECT_FALSE(screen.setRelativeMouse(true));
    EXPECT_STREQ(displayError(), "setRelativeMouse: the screen is not open");
    EXPECT_TRUE(screen.cursorVisible());
    EXPECT_FALSE(screen.relativeMouse());
}

TEST_F(ScreenInputTest, EscapeAndFocusLossLetGoOfTheHeldPointerBeforeAnythingElse) {
    ASSERT_TRUE(screen.setRelativeMouse(true));
    FakeWindow& window = *screen.window();
    window.send(wm::KeyDown, vk::Escape);
    EXPECT_FALSE(screen.relativeMouse());
    EXPECT_FALSE(screen.closeRequested()) << "the first Escape only lets go";
    EXPECT_EQ(observer.events, (Events{"keyDown 27", "keyStroke 27"}));
    window.send(wm::KeyUp, vk::Escape);
    window.send(wm::KeyDown, vk::Escape);
    EXPECT_TRUE(screen.closeRequested());

    ASSERT_TRUE(screen.open("input", 320, 240, ScreenMode::Windowed, PixelMode::Integer));
    ASSERT_TRUE(screen.setRelativeMouse(true));
    screen.window()->calls.clear();
    screen.window()->send(wm::Activate, 0);
    EXPECT_FALSE(screen.relativeMouse());
    EXPECT_FALSE(screen.window()->pointerHeld);
    EXPECT_EQ(screen.window()->calls, (Events{"let go", "cursor arrow"}));
}

TEST_F(ScreenInputTest, TheHeldPointerIsTakenAnewAfterSwitchesAndReopening) {
    ASSERT_TRUE(screen.setRelativeMouse(true));
    ASSERT_TRUE(screen.enterFullscreen());
    EXPECT_TRUE(screen.window()->pointerHeld);
    const Events& calls = screen.window()->calls;
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "hold"), 2);
    screen.close();
    EXPECT_TRUE(screen.relativeMouse()) << "the setting outlives the screen";
    ASSERT_TRUE(screen.open("input", 320, 240, ScreenMode::Windowed, PixelMode::Integer));
    EXPECT_TRUE(screen.window()->pointerHeld);

    screen.window()->refuseHold = true;
    setDisplayError("no relative mouse here");
    EXPECT_FALSE(screen.setRelativeMouse(true));
    EXPECT_STREQ(displayError(), "no relative mouse here");
}

TEST_F(ScreenInputTest, AHiddenCursorIsBlankOverTheWindowAndFullscreenStaysBlank) {
    FakeWindow& window = *screen.window();
    window.calls.clear();
    ASSERT_TRUE(screen.setCursorVisible(false));
    window.send(wm::SetCursor, 0, HitClient);
    ASSERT_TRUE(screen.setCursorVisible(true));
    window.send(wm::SetCursor, 0, HitClient);
    window.windowed = 0;
    window.send(wm::SetCursor, 0, HitClient);
    EXPECT_EQ(window.calls, (Events{"cursor blank", "cursor blank", "cursor arrow", "cursor arrow",
                                    "cursor blank"}));
}

} // namespace
