#include "display/web/WebEvents.h"
#include "display/web/WebKeyMap.h"

#include <duskhall/Modifiers.h>

#include "display/WindowMessage.h"

#include <gtest/gtest.h>

#include <vector>

using namespace duskhall;

namespace {

std::vector<WindowMessage> translate(const WebEvent& event, const MenuList& entries = MenuList{}) {
    const WebMessages messages = translateWebEvent(event, entries);
    return std::vector<WindowMessage>(messages.begin(), messages.end());
}

WebEvent key(WebEventKind kind, const char* code, bool ctrl = false, bool alt = false,
             bool repeat = false) {
    WebEvent event;
    event.kind = kind;
    event.virtualKey = virtualKeyForCode(code);
    event.ctrl = ctrl;
    event.alt = alt;
    event.repeat = repeat;
    return event;
}

WebEvent mouse(WebEventKind kind, int x, int y, int button = 0) {
    WebEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    event.button = button;
    return event;
}

MenuList windowedMenu() {
    MenuState state;
    state.framebuffer = WindowSize{320, 240};
    state.screen = WindowSize{1024, 768};
    return systemMenuEntries(state);
}

MenuList fullscreenMenu() {
    MenuState state;
    state.windowed = false;
    state.framebuffer = WindowSize{320, 240};
    state.screen = WindowSize{1024, 768};
    return systemMenuEntries(state);
}

TEST(WebKeyMap, KeysTypeTheirCharacterUnlessNamedOrAShortcut) {
    EXPECT_EQ(typedCodePoint("a", false, false, false), 0x61u);
    EXPECT_EQ(typedCodePoint("\xC3\xA9", false, false, false), 0xE9u);
    EXPECT_EQ(typedCodePoint("\xF0\x9F\x98\x80", false, false, false), 0x1F600u);
    EXPECT_EQ(typedCodePoint("@", true, true, false), 0x40u) << "AltGr comes as Ctrl+Alt";
    for (const char* named : {"Enter", "Dead", "Process", "Shift", "", "ab"}) {
        EXPECT_EQ(typedCodePoint(named, false, false, false), 0u) << named;
    }
    EXPECT_EQ(typedCodePoint("c", true, false, false), 0u);
    EXPECT_EQ(typedCodePoint("c", false, false, true), 0u);
}

TEST(WebKeyMap, ModifiersFollowEachSidesCodeAndTheEventsFlags) {
    std::uint32_t bits = trackModifiers(0, "ShiftLeft", true, true, false, false, false);
    EXPECT_EQ(bits, Modifiers::LeftShift);
    bits = trackModifiers(bits, "AltRight", true, true, false, true, false);
    EXPECT_EQ(bits, Modifiers::LeftShift | Modifiers::RightAlt);
    bits = trackModifiers(bits, "MetaLeft", true, true, false, true, true);
    bits = trackModifiers(bits, "ShiftLeft", false, false, false, true, true);
    EXPECT_EQ(bits, Modifiers::RightAlt | Modifiers::LeftSuper);
    // A key while Alt's release went elsewhere: the flags clear it.
    bits = trackModifiers(bits, "KeyA", true, false, false, false, true);
    EXPECT_EQ(bits, Modifiers::LeftSuper);
}

TEST(WebEvents, WheelTextAndLockedMovesBecomeTheirWindowMessages) {
    EXPECT_EQ(wheelDistance(100.0, 0), 120);
    EXPECT_EQ(wheelDistance(-3.0, 1), -120);
    EXPECT_EQ(wheelDistance(0.5, 2), 60);
    EXPECT_EQ(wheelDistance(1e9, 0), 32767);
    WebEvent wheel;
    wheel.kind = WebEventKind::Wheel;
    wheel.y = -240;
    wheel.x = 60;
    const std::vector<WindowMessage> turned = translate(wheel);
    ASSERT_EQ(turned.size(), 2u);
    EXPECT_EQ(turned[0].message, wm::MouseWheel);
    EXPECT_EQ(turned[0].wParam, wheelParam(-240));
    EXPECT_EQ(turned[1].message, wm::MouseHWheel);
    EXPECT_EQ(turned[1].wParam, wheelParam(60));

    WebEvent text;
    text.kind = WebEventKind::Text;
    text.codePoint = 0x1F600;
    ASSERT_EQ(translate(text).size(), 1u);
    EXPECT_EQ(translate(text)[0].message, wm::UniChar);
    EXPECT_EQ(translate(text)[0].wParam, 0x1F600u);

    const std::vector<WindowMessage> moved = translate(mouse(WebEventKind::MouseDelta, -7, 3));
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved[0].message, wm::MouseDelta);
    EXPECT_EQ(moved[0].lParam, mousePosition(-7, 3));
}

} // namespace

TEST(WebKeyMapTest, PositionsGiveTheVirtualKeysOfTheOtherPlatforms) {
    EXPECT_EQ(virtualKeyForCode("KeyA"), 'A');
    EXPECT_EQ(virtualKeyForCode("KeyZ"), 'Z');
    EXPECT_EQ(virtualKeyForCode("Digit0"), '0');
    EXPECT_EQ(virtualKeyForCode("Digit9"), '9');
    EXPECT_EQ(virtualKeyForCode("Numpad0"), 0x60);
    EXPECT_EQ(virtualKeyForCode("Numpad9"), 0x69);
    EXPECT_EQ(virtualKeyForCode("F1"), 0x70);
    EXPECT_EQ(virtualKeyForCode("F10"), 0x79);
    EXPECT_EQ(virtualKeyForCode("F24"), 0x87);
    EXPECT_EQ(virtualKeyForCode("Escape"), 0x1B);
    EXPECT_EQ(virtualKeyForCode("Enter"), 0x0D);
    EXPECT_EQ(virtualKeyForCode("NumpadEnter"), 0x0D);
    EXPECT_EQ(virtualKeyForCode("ShiftRight"), 0x10);
    EXPECT_EQ(virtualKeyForCode("AltLeft"), 0x12);
    EXPECT_EQ(virtualKeyForCode("Minus"), 0xBD);
    EXPECT_EQ(virtualKeyForCode("Quote"), 0xDE);
    EXPECT_EQ(virtualKeyForCode("ArrowLeft"), 0x25);
}

TEST(WebKeyMapTest, NamesWithoutAVirtualKeyGiveZero) {
    for (const char* code : {"", "Key", "KeyAA", "Keya", "Digit", "Digit10", "F0", "F25", "F1x",
                             "Numpad10", "Fn", "Unidentified", "Lang1"}) {
        EXPECT_EQ(virtualKeyForCode(code), 0) << code;
    }
    EXPECT_EQ(virtualKeyForCode(nullptr), 0);
}

TEST(WebEventsTest, KeysBecomeKeyMessagesAndSystemKeysWithAltOrF10) {
    auto messages = translate(key(WebEventKind::KeyDown, "KeyA"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, wm::KeyDown);
    EXPECT_EQ(messages[0].wParam, static_cast<std::uintptr_t>('A'));
    EXPECT_EQ(messages[0].lParam, 0);

    messages = translate(key(WebEventKind::KeyDown, "KeyA", false, false, true));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].lParam & (std::intptr_t{1} << 30), 0) << "auto-repeat is marked";

    messages = translate(key(WebEventKind::KeyDown, "Enter", false, true));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, wm::SysKeyDown);
    EXPECT_EQ(messages[0].wParam, 0x0Du);

    messages = translate(key(WebEventKind::KeyUp, "F10"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, wm::SysKeyUp);

    messages = translate(key(WebEventKind::KeyUp, "Escape"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, wm::KeyUp);
    EXPECT_EQ(messages[0].wParam, 0x1Bu);

    EXPECT_TRUE(translate(key(WebEventKind::KeyDown, "Lang1")).empty());
}

TEST(WebEventsTest, ShortcutsFollowTheKeyMessageOnlyWhileTheMenuOffersThem) {
    const MenuList windowed = windowedMenu();
    auto messages = translate(key(WebEventKind::KeyDown, "Digit2", true), windowed);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, wm::KeyDown);
    EXPECT_EQ(messages[1].message, wm::SysCommand);
    EXPECT_EQ(messages[1].wParam, static_cast<std::uintptr_t>(menu::Zoom2));

    // 8x does not fit a 1024 x 768 page; repeats, Alt and a release choose nothing.
    EXPECT_EQ(translate(key(WebEventKind::KeyDown, "Digit8", true), windowed).size(), 1u);
    EXPECT_EQ(translate(key(WebEventKind::KeyDown, "Digit2", true, false, true), windowed).size(),
              1u);
    EXPECT_EQ(translate(key(WebEventKind::KeyDown, "Digit2", true, true), windowed).size(), 1u);
    EXPECT_EQ(translate(key(WebEventKind::KeyUp, "Digit2", true), windowed).size(), 1u);
    EXPECT_EQ(translate(key(WebEventKind::KeyDown, "Digit2"), windowed).size(), 1u);

    messages = translate(key(WebEventKind::KeyDown, "KeyF", true), windowed);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].wParam, static_cast<std::uintptr_t>(menu::Fullscreen));
    messages = translate(key(WebEventKind::KeyDown, "KeyF", true), fullscreenMenu());
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].wParam, static_cast<std::uintptr_t>(menu::Windowed));
}

TEST(WebEventsTest, MouseEventsCarryThePositionAndTheDomButtonNumbering) {
    auto messages = translate(mouse(WebEventKind::MouseMove, 101, 51));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, wm::MouseMove);
    EXPECT_EQ(messages[0].lParam, mousePosition(101, 51));

    // Negative positions (a captured pointer left of the picture) survive the packing.
    messages = translate(mouse(WebEventKind::ButtonUp, -5, 300, 0));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, wm::LButtonUp);
    EXPECT_EQ(static_cast<std::int16_t>(messages[0].lParam & 0xFFFF), -5);

    EXPECT_EQ(translate(mouse(WebEventKind::ButtonDown, 0, 0, 1))[0].message, wm::MButtonDown);
    EXPECT_EQ(translate(mouse(WebEventKind::ButtonDown, 0, 0, 2))[0].message, wm::RButtonDown);
    EXPECT_EQ(translate(mouse(WebEventKind::ButtonUp, 0, 0, 2))[0].message, wm::RButtonUp);
    EXPECT_TRUE(translate(mouse(WebEventKind::ButtonDown, 0, 0, 3)).empty());
}

TEST(WebEventsTest, FocusResizeAndLeavingFullscreen) {
    WebEvent event;
    event.kind = WebEventKind::Focus;
    auto messages = translate(event);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, wm::Activate);
    EXPECT_NE(messages[0].wParam & 0xFFFF, static_cast<std::uintptr_t>(ActivateInactive));

    event.kind = WebEventKind::Blur;
    messages = translate(event);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].wParam & 0xFFFF, static_cast<std::uintptr_t>(ActivateInactive));

    event.kind = WebEventKind::Resized;
    messages = translate(event);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, wm::Size);

    // The browser's own exit from fullscreen switches the screen back, once.
    event.kind = WebEventKind::FullscreenLeft;
    messages = translate(event, fullscreenMenu());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, wm::SysCommand);
    EXPECT_EQ(messages[0].wParam, static_cast<std::uintptr_t>(menu::Windowed));
    EXPECT_TRUE(translate(event, windowedMenu()).empty());
}
