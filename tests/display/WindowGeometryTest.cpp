#include "DisplayFakes.h"

#include "display/WindowGeometry.h"

#include <gtest/gtest.h>

using namespace duskhall;

namespace {

using Items = std::vector<std::string>;

MenuState windowedState(WindowSize screen) {
    MenuState state;
    state.windowed = true;
    state.centred = true;
    state.framebuffer = WindowSize{320, 240};
    state.screen = screen;
    return state;
}

TEST(SystemMenu, ZoomEntriesMustFitStrictlyInsideTheScreen) {
    EXPECT_EQ(describeMenu(systemMenuEntries(windowedState({1920, 1080}))),
              (Items{"1:-", "2:Original Size", "3:2x Zoom", "4:4x Zoom", "6:-", "8:Fullscreen"}));
    EXPECT_EQ(describeMenu(systemMenuEntries(windowedState({1280, 1024}))),
              (Items{"1:-", "2:Original Size", "3:2x Zoom", "6:-", "8:Fullscreen"}));
    // Both dimensions must fit: 8 x 240 = 1920 is not below 1920.
    EXPECT_EQ(describeMenu(systemMenuEntries(windowedState({2561, 1920}))),
              (Items{"1:-", "2:Original Size", "3:2x Zoom", "4:4x Zoom", "6:-", "8:Fullscreen"}));
    EXPECT_EQ(describeMenu(systemMenuEntries(windowedState({2561, 1921}))),
              (Items{"1:-", "2:Original Size", "3:2x Zoom", "4:4x Zoom", "5:8x Zoom", "6:-",
                     "8:Fullscreen"}));
}

TEST(SystemMenu, MinimisedMaximisedFullscreenAndNotCentred) {
    MenuState state = windowedState({1920, 1080});
    state.minimised = true;
    EXPECT_EQ(describeMenu(systemMenuEntries(state)), (Items{"6:-", "8:Fullscreen"}));
    state.minimised = false;
    state.maximised = true;
    state.centred = false;
    EXPECT_EQ(describeMenu(systemMenuEntries(state)),
              (Items{"6:-", "8:Fullscreen", "9:-", "10:Center"}));

    state.maximised = false;
    EXPECT_EQ(describeMenu(systemMenuEntries(state)),
              (Items{"1:-", "2:Original Size", "3:2x Zoom", "4:4x Zoom", "6:-", "8:Fullscreen",
                     "9:-", "10:Center"}));

    // Fullscreen: no zoom and no centring, whatever the other flags say.
    state.windowed = false;
    EXPECT_EQ(describeMenu(systemMenuEntries(state)), (Items{"6:-", "7:Windowed"}));
}

TEST(WindowPlacement, CentreHalvesTowardMinusInfinityAndStopsAtZero) {
    const WindowRect centred = centredRect(WindowRect{5, 5, 341, 284}, WindowSize{1920, 1080});
    EXPECT_EQ(centred.left, (1920 - 336) / 2);
    EXPECT_EQ(centred.top, (1080 - 279) >> 1); // 400 (801 / 2 rounded down)
    EXPECT_EQ(centred.top, 400);
    EXPECT_EQ(centred.width(), 336);
    EXPECT_EQ(centred.height(), 279);

    const WindowRect tooBig = centredRect(WindowRect{100, 100, 2100, 1200}, WindowSize{1920, 1080});
    EXPECT_EQ(tooBig.left, 0);
    EXPECT_EQ(tooBig.top, 0);
    EXPECT_EQ(tooBig.width(), 2000);
    EXPECT_EQ(tooBig.height(), 1100);
}

TEST(WindowPlacement, ZoomKeepsTheCentreAndTheSize) {
    const FrameInsets insets{8, 31, 8, 8};
    // Outer 336 x 279 at (792, 400): centre (960, 539).
    const WindowRect zoomed =
        zoomedRect(WindowRect{792, 400, 1128, 679}, WindowSize{320, 240}, 2.0f, insets);
    EXPECT_EQ(zoomed.width(), 640 + 16);
    EXPECT_EQ(zoomed.height(), 480 + 39);
    EXPECT_EQ(zoomed.left, 960 - 328);
    EXPECT_EQ(zoomed.top, 539 - 259); // half of 519 truncates to 259
}

TEST(WindowPlacement, ZoomAtTheScreenEdgeStaysOnScreen) {
    const FrameInsets insets{8, 31, 8, 8};
    const WindowRect zoomed =
        zoomedRect(WindowRect{0, 0, 336, 279}, WindowSize{320, 240}, 2.0f, insets);
    EXPECT_EQ(zoomed.left, 0);
    EXPECT_EQ(zoomed.top, 0);
    EXPECT_EQ(zoomed.right, 656);
    EXPECT_EQ(zoomed.bottom, 519);

    // A window hanging off the top left corner: both edges are held at 0, the
    // size is kept and the right and bottom edges are not limited.
    const WindowRect offLeft =
        zoomedRect(WindowRect{-301, -500, 34, 779}, WindowSize{320, 240}, 8.0f, insets);
    EXPECT_EQ(offLeft.left, 0);
    EXPECT_EQ(offLeft.top, 0);
    EXPECT_EQ(offLeft.width(), 2560 + 16);
    EXPECT_EQ(offLeft.height(), 1920 + 39);

    // Odd sums and odd sizes halve by truncation: centre (2, 2), outer 3 x 3.
    const WindowRect odd =
        zoomedRect(WindowRect{1, 1, 4, 4}, WindowSize{3, 3}, 1.0f, FrameInsets{});
    EXPECT_EQ(odd.left, 1);
    EXPECT_EQ(odd.top, 1);
    EXPECT_EQ(odd.right, 4);
}

TEST(WindowPlacement, ZoomRoundsFractionalClientSizesToNearestEven) {
    const WindowRect zoomed =
        zoomedRect(WindowRect{0, 0, 100, 100}, WindowSize{5, 3}, 0.5f, FrameInsets{});
    EXPECT_EQ(zoomed.width(), 2);  // 2.5 -> 2
    EXPECT_EQ(zoomed.height(), 2); // 1.5 -> 2

    // Fractions above and below one half, which truncation would both cut down.
    const WindowRect rounded =
        zoomedRect(WindowRect{0, 0, 100, 100}, WindowSize{5, 7}, 0.75f, FrameInsets{});
    EXPECT_EQ(rounded.width(), 4);  // 3.75 -> 4
    EXPECT_EQ(rounded.height(), 5); // 5.25 -> 5
}

TEST(FittedPicture, KeepsTheShapeWithBarsAtTheSidesOrTopAndBottom) {
    const WindowRect wide = fittedRect(WindowSize{320, 240}, WindowSize{1920, 1080});
    EXPECT_EQ(wide.left, 240);
    EXPECT_EQ(wide.top, 0);
    EXPECT_EQ(wide.width(), 1440);
    EXPECT_EQ(wide.height(), 1080);

    const WindowRect tall = fittedRect(WindowSize{320, 240}, WindowSize{1280, 1024});
    EXPECT_EQ(tall.left, 0);
    EXPECT_EQ(tall.top, 32);
    EXPECT_EQ(tall.width(), 1280);
    EXPECT_EQ(tall.height(), 960);

    const WindowRect exact = fittedRect(WindowSize{320, 240}, WindowSize{640, 480});
    EXPECT_EQ(exact.left, 0);
    EXPECT_EQ(exact.top, 0);
    EXPECT_EQ(exact.right, 640);
    EXPECT_EQ(exact.bottom, 480);
}

TEST(FittedPicture, OddRemaindersAndEmptySizes) {
    // 1366 x 768: the picture is 1024 x 768, the bars 171 on each side.
    const WindowRect laptop = fittedRect(WindowSize{320, 240}, WindowSize{1366, 768});
    EXPECT_EQ(laptop.left, 171);
    EXPECT_EQ(laptop.width(), 1024);
    // A height that does not divide: 1000 wide gives 750 high, in a 1000 x 801 area.
    const WindowRect uneven = fittedRect(WindowSize{320, 240}, WindowSize{1000, 801});
    EXPECT_EQ(uneven.height(), 750);
    EXPECT_EQ(uneven.top, 25);

    const WindowRect noPicture = fittedRect(WindowSize{0, 0}, WindowSize{800, 600});
    EXPECT_EQ(noPicture.right, 800);
    EXPECT_EQ(noPicture.bottom, 600);
}

TEST(WindowPlacement, FullscreenCoversTheScreenOrTheLargerFramebuffer) {
    const WindowRect normal = fullscreenRect(WindowSize{320, 240}, WindowSize{1920, 1080});
    EXPECT_EQ(normal.right, 1920);
    EXPECT_EQ(normal.bottom, 1080);
    const WindowRect large = fullscreenRect(WindowSize{2048, 900}, WindowSize{1920, 1080});
    EXPECT_EQ(large.left, 0);
    EXPECT_EQ(large.right, 2048);
    EXPECT_EQ(large.bottom, 1080);
}

} // namespace
