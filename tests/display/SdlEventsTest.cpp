#include "display/sdl/SdlEvents.h"
#include "display/sdl/SdlKeyMap.h"
#include "display/sdl/TextureFormatProbe.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

using namespace duskhall;

namespace {

constexpr Uint32 ourWindow = 7;

SDL_Event keyEvent(Uint32 type, SDL_Scancode scancode, Uint16 mod = KMOD_NONE, Uint8 repeat = 0,
                   Uint32 window = ourWindow) {
    SDL_Event event{};
    event.key.type = type;
    event.key.windowID = window;
    event.key.repeat = repeat;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = mod;
    return event;
}

SDL_Event windowEvent(SDL_WindowEventID id, Sint32 data1 = 0, Sint32 data2 = 0) {
    SDL_Event event{};
    event.window.type = SDL_WINDOWEVENT;
    event.window.windowID = ourWindow;
    event.window.event = static_cast<Uint8>(id);
    event.window.data1 = data1;
    event.window.data2 = data2;
    return event;
}

SDL_Event buttonEvent(Uint32 type, Uint8 button, Sint32 x, Sint32 y) {
    SDL_Event event{};
    event.button.type = type;
    event.button.windowID = ourWindow;
    event.button.button = button;
    event.button.x = x;
    event.button.y = y;
    return event;
}

std::vector<std::uint32_t> messages(const TranslatedEvent& translated) {
    std::vector<std::uint32_t> out;
    for (const WindowMessage& message : translated) {
        out.push_back(message.message);
    }
    return out;
}

TEST(SdlKeyMap, PhysicalKeysGiveWin32VirtualKeys) {
    // The runs SDL numbers differently from Win32: digits and keypad go 1..9 then 0.
    EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_1), 49);
    EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_0), 48);
    EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_KP_9), 105);
    EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_KP_0), 96);
    EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_Z), 90);
    EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_F12), 123);
    EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_F13), 124);
    // Both sides give the generic code; keypad Enter is Enter.
    EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_RSHIFT), 16);
    EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_RALT), 18);
    EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_KP_ENTER), 13);
    EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_MINUS), 189);
    EXPECT_EQ(virtualKeyFor(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(virtualKeyFor(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES)), 0);
}

TEST(SdlEvents, KeysBecomeKeyMessagesAndAltOrF10MakesThemSystemKeys) {
    const TranslatedEvent down = translateEvent(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_A), ourWindow);
    ASSERT_EQ(down.count, 1);
    EXPECT_EQ(down.messages[0].message, wm::KeyDown);
    EXPECT_EQ(down.messages[0].wParam, 65u);

    const TranslatedEvent altEnter =
        translateEvent(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT, 1), ourWindow);
    ASSERT_EQ(altEnter.count, 1);
    EXPECT_EQ(altEnter.messages[0].message, wm::SysKeyDown);
    EXPECT_EQ(altEnter.messages[0].wParam, 13u);

    EXPECT_EQ(messages(translateEvent(keyEvent(SDL_KEYUP, SDL_SCANCODE_F10), ourWindow)),
              std::vector<std::uint32_t>{wm::SysKeyUp});
    EXPECT_EQ(messages(translateEvent(keyEvent(SDL_KEYUP, SDL_SCANCODE_B), ourWindow)),
              std::vector<std::uint32_t>{wm::KeyUp});
    // Keys without a virtual-key code and other windows' keys give nothing.
    EXPECT_EQ(translateEvent(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_UNKNOWN), ourWindow).count, 0);
    EXPECT_EQ(translateEvent(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_A, 0, 0, 99), ourWindow).count, 0);
}

TEST(SdlEvents, MouseEventsCarryClientCoordinates) {
    const TranslatedEvent press =
        translateEvent(buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 101, 51), ourWindow);
    ASSERT_EQ(press.count, 1);
    EXPECT_EQ(press.messages[0].message, wm::RButtonDown);
    EXPECT_EQ(press.messages[0].lParam, mousePosition(101, 51));

    // Outside the window while captured: negative coordinates survive as 16-bit values.
    const TranslatedEvent release =
        translateEvent(buttonEvent(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, -5, 300), ourWindow);
    ASSERT_EQ(release.count, 1);
    EXPECT_EQ(release.messages[0].message, wm::MButtonUp);
    EXPECT_EQ(static_cast<std::int16_t>(release.messages[0].lParam & 0xFFFF), -5);

    EXPECT_EQ(
        translateEvent(buttonEvent(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1, 1), ourWindow).count, 0);

    SDL_Event motion{};
    motion.motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = ourWindow;
    motion.motion.x = 3;
    motion.motion.y = 4;
    const TranslatedEvent moved = translateEvent(motion, ourWindow);
    ASSERT_EQ(moved.count, 1);
    EXPECT_EQ(moved.messages[0].message, wm::MouseMove);
    EXPECT_EQ(moved.messages[0].lParam, mousePosition(3, 4));
}

TEST(SdlEvents, WindowEventsAndQuit) {
    using Messages = std::vector<std::uint32_t>;
    EXPECT_EQ(messages(translateEvent(windowEvent(SDL_WINDOWEVENT_CLOSE), ourWindow)),
              (Messages{wm::Close, wm::Destroy}));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(messages(translateEvent(quit, ourWindow)), (Messages{wm::Close, wm::Destroy}));
    EXPECT_EQ(messages(translateEvent(windowEvent(SDL_WINDOWEVENT_EXPOSED), ourWindow)),
              (Messages{wm::Paint}));
    EXPECT_EQ(messages(translateEvent(windowEvent(SDL_WINDOWEVENT_SIZE_CHANGED), ourWindow)),
              (Messages{wm::Sizing}));
    EXPECT_EQ(messages(translateEvent(windowEvent(SDL_WINDOWEVENT_MINIMIZED), ourWindow)),
              (Messages{wm::Size}));
    EXPECT_EQ(messages(translateEvent(windowEvent(SDL_WINDOWEVENT_MOVED, 10, 20), ourWindow)),
              (Messages{wm::Moving}));
    const TranslatedEvent gained =
        translateEvent(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), ourWindow);
    const TranslatedEvent lost = translateEvent(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST), ourWindow);
    ASSERT_EQ(gained.count, 1);
    ASSERT_EQ(lost.count, 1);
    EXPECT_EQ(gained.messages[0].wParam & 0xFFFF, 1u);
    EXPECT_EQ(lost.messages[0].wParam & 0xFFFF, 0u);
}

TEST(SdlShortcuts, ExistOnlyWhileTheirMenuEntryDoes) {
    MenuState state;
    state.centred = true;
    state.framebuffer = WindowSize{320, 240};
    state.screen = WindowSize{1280, 1024};
    const MenuList windowed = systemMenuEntries(state);
    EXPECT_EQ(shortcutCommand(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_2, KMOD_LCTRL).key, windowed),
              menu::Zoom2);
    EXPECT_EQ(shortcutCommand(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_1, KMOD_RCTRL).key, windowed),
              menu::OriginalSize);
    // 4x does not fit on 1280 x 1024, and a centred window has no "Center".
    EXPECT_EQ(shortcutCommand(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_4, KMOD_LCTRL).key, windowed), 0);
    EXPECT_EQ(shortcutCommand(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_C, KMOD_LCTRL).key, windowed), 0);
    EXPECT_EQ(shortcutCommand(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_F, KMOD_LCTRL).key, windowed),
              menu::Fullscreen);
    // Without Ctrl, with Alt too, on repeat or on release: no command.
    EXPECT_EQ(shortcutCommand(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_2).key, windowed), 0);
    EXPECT_EQ(shortcutCommand(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_2, KMOD_LCTRL | KMOD_LALT).key,
                              windowed),
              0);
    EXPECT_EQ(shortcutCommand(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_2, KMOD_LCTRL, 1).key, windowed),
              0);
    EXPECT_EQ(shortcutCommand(keyEvent(SDL_KEYUP, SDL_SCANCODE_2, KMOD_LCTRL).key, windowed), 0);

    state.centred = false;
    EXPECT_EQ(shortcutCommand(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_C, KMOD_LCTRL).key,
                              systemMenuEntries(state)),
              menu::Centre);
    state.windowed = false;
    const MenuList fullscreen = systemMenuEntries(state);
    EXPECT_EQ(shortcutCommand(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_F, KMOD_LCTRL).key, fullscreen),
              menu::Windowed);
    EXPECT_EQ(shortcutCommand(keyEvent(SDL_KEYDOWN, SDL_SCANCODE_1, KMOD_LCTRL).key, fullscreen),
              0);
}

std::vector<PixelFormat> formatsOf(const TextureFormatList& list) {
    std::vector<PixelFormat> out;
    for (const TextureFormat& format : list) {
        out.push_back(format.format);
    }
    return out;
}

TEST(TextureFormatProbe, PrefersTheProbeOrderAmongOfferedFormats) {
    using Formats = std::vector<PixelFormat>;
    const std::uint32_t offered[] = {SDL_PIXELFORMAT_ARGB8888, SDL_PIXELFORMAT_RGB565,
                                     SDL_PIXELFORMAT_XBGR8888, SDL_PIXELFORMAT_XRGB8888};
    EXPECT_EQ(formatsOf(textureFormatCandidates(offered, 4, nullptr, 0)),
              (Formats{PixelFormat::XRGB8888, PixelFormat::XBGR8888, PixelFormat::RGB565}));

    const std::uint32_t refused[] = {SDL_PIXELFORMAT_XRGB8888};
    EXPECT_EQ(formatsOf(textureFormatCandidates(offered, 4, refused, 1)),
              (Formats{PixelFormat::XBGR8888, PixelFormat::RGB565}));

    const std::uint32_t only24[] = {SDL_PIXELFORMAT_RGB24, SDL_PIXELFORMAT_YV12};
    EXPECT_EQ(formatsOf(textureFormatCandidates(only24, 2, nullptr, 0)),
              (Formats{PixelFormat::RGB888}));
}

TEST(TextureFormatProbe, OffersTheWholeOrderWhenNothingMatches) {
    using Formats = std::vector<PixelFormat>;
    const std::uint32_t offered[] = {SDL_PIXELFORMAT_YV12};
    EXPECT_EQ(formatsOf(textureFormatCandidates(offered, 1, nullptr, 0)),
              (Formats{PixelFormat::XRGB8888, PixelFormat::XBGR8888, PixelFormat::RGB888,
                       PixelFormat::RGB565, PixelFormat::XRGB1555}));
    const std::uint32_t refused[] = {SDL_PIXELFORMAT_XRGB8888, SDL_PIXELFORMAT_RGB24};
    EXPECT_EQ(formatsOf(textureFormatCandidates(nullptr, 0, refused, 2)),
              (Formats{PixelFormat::XBGR8888, PixelFormat::RGB565, PixelFormat::XRGB1555}));
    // SDL's names and ours agree on the memory layouts.
    EXPECT_EQ(textureProbeOrder()[2].sdlFormat, static_cast<std::uint32_t>(SDL_PIXELFORMAT_RGB24));
    EXPECT_EQ(SDL_BYTESPERPIXEL(textureProbeOrder()[3].sdlFormat), 2);
}

TEST(SdlEvents, WheelTextAndHeldMotionBecomeTheirWindowMessages) {
    SDL_Event wheel{};
    wheel.wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = ourWindow;
    wheel.wheel.x = 1;
    wheel.wheel.y = -2;
    wheel.wheel.preciseX = 1.0f;
    wheel.wheel.preciseY = -1.5f; // a touchpad's finer value wins over the whole one
    TranslatedEvent out = translateEvent(wheel, ourWindow);
    ASSERT_EQ(messages(out), (std::vector<std::uint32_t>{wm::MouseWheel, wm::MouseHWheel}));
    EXPECT_EQ(out.messages[0].wParam, wheelParam(-180));
    EXPECT_EQ(out.messages[1].wParam, wheelParam(120));
    // Natural scrolling flips SDL's values; the messages keep the wheel's own way.
    wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    out = translateEvent(wheel, ourWindow);
    EXPECT_EQ(out.messages[0].wParam, wheelParam(180));
    EXPECT_EQ(out.messages[1].wParam, wheelParam(-120));

    SDL_Event text{};
    text.text.type = SDL_TEXTINPUT;
    text.text.windowID = ourWindow;
    std::snprintf(text.text.text, sizeof text.text.text, "a\xC3\xA9\xF0\x9F\x98\x80");
    out = translateEvent(text, ourWindow);
    ASSERT_EQ(out.count, 3);
    EXPECT_EQ(out.messages[0].message, wm::UniChar);
    EXPECT_EQ(out.messages[0].wParam, 0x61u);
    EXPECT_EQ(out.messages[1].wParam, 0xE9u);
    EXPECT_EQ(out.messages[2].wParam, 0x1F600u);
    EXPECT_EQ(translateEvent(text, ourWindow + 1).count, 0);

    SDL_Event motion{};
    motion.motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = ourWindow;
    motion.motion.x = 100;
    motion.motion.y = 50;
    motion.motion.xrel = -3;
    motion.motion.yrel = 4;
    out = translateEvent(motion, ourWindow);
    EXPECT_EQ(out.messages[0].message, wm::MouseMove);
    EXPECT_EQ(out.messages[0].lParam, mousePosition(100, 50));
    out = translateEvent(motion, ourWindow, true);
    EXPECT_EQ(out.messages[0].message, wm::MouseDelta);
    EXPECT_EQ(out.messages[0].lParam, mousePosition(-3, 4));
}

TEST(SdlEvents, ModifierStatesKeepTheirSides) {
    const std::pair<Uint16, std::uint32_t> cases[] = {
        {KMOD_NONE, 0},
        {KMOD_LSHIFT, Modifiers::LeftShift},
        {KMOD_RSHIFT | KMOD_RCTRL, Modifiers::RightShift | Modifiers::RightControl},
        {KMOD_LCTRL | KMOD_RALT, Modifiers::LeftControl | Modifiers::RightAlt},
        {KMOD_LALT | KMOD_LGUI | KMOD_RGUI, Modifiers::LeftAlt | Modifiers::Super},
        {KMOD_CAPS | KMOD_NUM, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(modifiersFromSdl(c.first).bits, c.second) << std::hex << c.first;
    }
}

} // namespace
