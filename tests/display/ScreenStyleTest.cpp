// The window style over a platform of plain values: refused on a closed screen
// and for bad icons without changing anything, kept over mode switches and
// reopening, and a frame dropped or restored around the same client area.
#include "DisplayFakes.h"
#include "display/BoundedCopy.h"
#include "display/DisplayError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

const PackedPixel redIcon[4] = {0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, 0x80FF0000u};
const PackedPixel blueIcon[1] = {0xFF0000FFu};

bool called(const FakeWindow& window, const std::string& call) {
    return std::find(window.calls.begin(), window.calls.end(), call) != window.calls.end();
}

TEST(ScreenStyle, EverySetterRefusesAClosedScreenAndChangesNothing) {
    FakePlatformScreen screen;
    const std::vector<std::pair<const char*, std::function<bool()>>> setters = {
        {"setTitle", [&] { return screen.setTitle("new"); }},
        {"setBorderless", [&] { return screen.setBorderless(true); }},
        {"setAlwaysOnTop", [&] { return screen.setAlwaysOnTop(true); }},
        {"setIcon", [&] { return screen.setIcon(redIcon, 2, 2); }},
    };
    for (int opened = 0; opened < 2; ++opened) {
        for (const auto& setter : setters) {
            setDisplayError("");
            EXPECT_FALSE(setter.second()) << setter.first;
            EXPECT_EQ(std::string(displayError()),
                      std::string(setter.first) + ": the screen is not open");
        }
        EXPECT_STREQ(screen.title(), "");
        EXPECT_FALSE(screen.borderless());
        EXPECT_FALSE(screen.alwaysOnTop());
        // Opened now, the window has no style from the refused calls.
        ASSERT_TRUE(screen.open("t", 320, 240, ScreenMode::Windowed, PixelMode::Integer));
        EXPECT_TRUE(called(*screen.window(), "style windowed"));
        EXPECT_FALSE(called(*screen.window(), "topmost"));
        EXPECT_TRUE(screen.window()->icon.empty());
        screen.close(); // and once more after a close
    }
}

TEST(ScreenStyle, TheStyleIsKeptOverModeSwitchesAndReopening) {
    FakePlatformScreen screen;
    ASSERT_TRUE(screen.open("t", 320, 240, ScreenMode::Windowed, PixelMode::Integer));
    ASSERT_TRUE(screen.setBorderless(true));
    ASSERT_TRUE(screen.setAlwaysOnTop(true));
    ASSERT_TRUE(screen.setIcon(redIcon, 2, 2));
    ASSERT_TRUE(screen.setTitle("retitled"));
    EXPECT_TRUE(called(*screen.window(), "style borderless"));
    EXPECT_TRUE(called(*screen.window(), "topmost"));

    // Fullscreen has no frame whatever the setting; the way back has none either.
    screen.window()->calls.clear();
    ASSERT_TRUE(screen.enterFullscreen());
    EXPECT_TRUE(called(*screen.window(), "style fullscreen"));
    ASSERT_TRUE(screen.enterWindowed());
    EXPECT_TRUE(called(*screen.window(), "style borderless"));
    EXPECT_FALSE(called(*screen.window(), "style windowed"));

    screen.close();
    EXPECT_TRUE(screen.borderless());
    EXPECT_TRUE(screen.alwaysOnTop());
    ASSERT_TRUE(screen.open("again", 320, 240, ScreenMode::Windowed, PixelMode::Integer));
    FakeWindow& fresh = *screen.window();
    EXPECT_EQ(screen.windowsMade, 2);
    EXPECT_TRUE(called(fresh, "style borderless"));
    EXPECT_TRUE(called(fresh, "topmost"));
    EXPECT_EQ(fresh.icon, std::vector<PackedPixel>(redIcon, redIcon + 4));
    EXPECT_EQ(fresh.iconWidth, 2);
    EXPECT_STREQ(screen.title(), "again"); // a title is open's, not a kept setting

    // Turned off, later windows are plain again.
    ASSERT_TRUE(screen.setBorderless(false));
    ASSERT_TRUE(screen.setAlwaysOnTop(false));
    EXPECT_TRUE(called(fresh, "not topmost"));
    ASSERT_TRUE(screen.open("plain", 320, 240, ScreenMode::Windowed, PixelMode::Integer));
    EXPECT_TRUE(called(*screen.window(), "style windowed"));
    EXPECT_FALSE(called(*screen.window(), "style borderless"));
    EXPECT_FALSE(called(*screen.window(), "topmost"));
}

TEST(ScreenStyle, ABadIconIsRefusedAndTheLastGoodOneStays) {
    FakePlatformScreen screen;
    ASSERT_TRUE(screen.open("t", 320, 240, ScreenMode::Windowed, PixelMode::Integer));
    ASSERT_TRUE(screen.setIcon(blueIcon, 1, 1));
    const std::vector<PackedPixel> big(257 * 257, 0xFF000000u);
    const struct {
        const PackedPixel* pixels;
        std::int32_t width;
        std::int32_t height;
        const char* reason;
    } refused[] = {
        {nullptr, 1, 1, "setIcon: the pixels are null"},
        {redIcon, 0, 2, "setIcon: an icon of 0 x 2 pixels; each side must be 1 to 256"},
        {redIcon, 2, -1, "setIcon: an icon of 2 x -1 pixels; each side must be 1 to 256"},
        {big.data(), 257, 1, "setIcon: an icon of 257 x 1 pixels; each side must be 1 to 256"},
        {big.data(), 1, 257, "setIcon: an icon of 1 x 257 pixels; each side must be 1 to 256"},
    };
    for (const auto& bad : refused) {
        EXPECT_FALSE(screen.setIcon(bad.pixels, bad.width, bad.height)) << bad.reason;
        EXPECT_STREQ(displayError(), bad.reason);
    }
    EXPECT_TRUE(screen.setIcon(big.data(), 256, 256)); // the largest is taken
    EXPECT_EQ(screen.window()->iconWidth, 256);

    // One the system refuses is not kept for the next window either.
    ASSERT_TRUE(screen.setIcon(blueIcon, 1, 1));
    screen.window()->refuseIcon = true;
    EXPECT_FALSE(screen.setIcon(redIcon, 2, 2));
    EXPECT_STREQ(displayError(), "icon refused");
    ASSERT_TRUE(screen.open("t", 320, 240, ScreenMode::Windowed, PixelMode::Integer));
    EXPECT_EQ(screen.window()->icon, std::vector<PackedPixel>(blueIcon, blueIcon + 1));
}

TEST(ScreenStyle, DroppingTheFrameKeepsTheClientAreaInPlace) {
    FakePlatformScreen screen;
    ASSERT_TRUE(screen.open("t", 320, 240, ScreenMode::Windowed, PixelMode::Integer));
    FakeWindow& window = *screen.window();
    window.outer = WindowRect{100, 100, 436, 379}; // client 320 x 240 at 108, 131
    ASSERT_TRUE(screen.setBorderless(true));
    EXPECT_EQ(window.calls.back(), "move 108 131 428 371");
    ASSERT_TRUE(screen.setBorderless(false));
    EXPECT_EQ(window.calls.back(), "move 100 100 436 379");
    // A borderless window at the origin gets its caption back on the screen.
    ASSERT_TRUE(screen.setBorderless(true));
    window.outer = WindowRect{0, 0, 320, 240};
    ASSERT_TRUE(screen.setBorderless(false));
    EXPECT_EQ(window.calls.back(), "move 0 0 336 279");
    // In fullscreen only the setting changes; the frame follows on the way back.
    ASSERT_TRUE(screen.enterFullscreen());
    window.calls.clear();
    ASSERT_TRUE(screen.setBorderless(true));
    EXPECT_TRUE(window.calls.empty());
}

TEST(ScreenStyle, ACutTitleNeverEndsInsideACharacter) {
    char title[8];
    // Seven bytes of room: a two-byte character at bytes 6 and 7 goes whole.
    EXPECT_EQ(copyBounded(title, sizeof title, "abcdef\xC3\xA9"), 6u);
    EXPECT_STREQ(title, "abcdef");
    EXPECT_EQ(copyBounded(title, sizeof title, "abcd\xE2\x82\xAC!"), 7u); // the euro fits
    EXPECT_STREQ(title, "abcd\xE2\x82\xAC");
    EXPECT_EQ(copyBounded(title, sizeof title, "abcde\xE2\x82\xAC"), 5u);
    EXPECT_EQ(copyBounded(title, sizeof title, "a\xF0\x9F\x98\x80\xF0\x9F\x98\x80"), 5u);
    EXPECT_STREQ(title, "a\xF0\x9F\x98\x80");
}

} // namespace
