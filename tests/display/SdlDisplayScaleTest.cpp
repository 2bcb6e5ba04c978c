#include <duskhall/DisplayError.h>
#include <duskhall/ScreenHandle.h>

#include "XWindowProbe.h"

#include "display/sdl/SdlScreen.h"
#include "display/sdl/X11Dpi.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

using namespace duskhall;

namespace {

// The desktop's Xft.dpi wins; without it X's own millimetres give the figure
// (SDL has none on a virtual server). The run under an Xvfb of 192 dpi makes the
// last case 2.0; on the usual 96-ish server it stays 1.0.
TEST(SdlDisplayScale, FollowsTheDesktopsXftDpiThenTheScreensMillimetres) {
    XWindowProbe probe;
    ASSERT_TRUE(probe.connected());
    const float screenScale = std::max(1.0f, std::nearbyint(probe.screenDpi() / 24.0f) / 4.0f);
    ScreenHandle screen(std::make_unique<SdlScreen>(), "duskhall scale", 320, 240,
                        ScreenMode::Windowed, PixelMode::Integer);
    ASSERT_TRUE(screen.isOpen()) << displayError();
    struct Case {
        const char* resources;
        float scale;
    };
    const Case cases[] = {
        {"Xft.dpi:\t192\n", 2.0f},
        {"Xcursor.size: 24\nXft.antialias: 1\nXft.dpi: 144\n", 1.5f},
        {"Xft.dpi: 120", 1.25f},
        {"Xft.dpi:\t72\n", 1.0f}, // below 96 is never smaller than 1
        {"Xcursor.size: 24\n", screenScale},
        {"", screenScale},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.resources);
        probe.setResources(c.resources);
        EXPECT_EQ(screen.displayScale(), c.scale);
    }
}

TEST(SdlDisplayScale, XftDpiIsReadFromItsOwnLineOnly) {
    EXPECT_EQ(xftDpiOf("Xft.dpi:\t96\n"), 96.0f);
    EXPECT_EQ(xftDpiOf("Xft.dpix: 5\nmy.Xft.dpi: 300\nXft.dpi:  110.5\n"), 110.5f);
    EXPECT_EQ(xftDpiOf("Xft.dpi: none\n"), 0.0f);
    EXPECT_EQ(xftDpiOf(""), 0.0f);
}

} // namespace
