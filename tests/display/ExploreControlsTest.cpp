#include "app/ExploreControls.h"
#include "app/ExploreObserver.h"

#include "DisplayFakes.h"

#include <gtest/gtest.h>

using namespace duskhall;

namespace {

MouseState mouseAt(float x, bool left) {
    MouseState mouse;
    mouse.left = left;
    mouse.x = x;
    return mouse;
}

} // namespace

TEST(ExploreControlsTest, HeldKeysWalkAndTurn) {
    ExploreControls controls;
    std::uint8_t held[256] = {};
    ExploreControls::FrameInput input = controls.takeFrameInput(held);
    EXPECT_FALSE(input.move.forward || input.move.back || input.move.strafeLeft ||
                 input.move.strafeRight || input.move.turnLeft || input.move.turnRight);

    held['W'] = 1;
    held['A'] = 1;
    held[39] = 1; // Right
    input = controls.takeFrameInput(held);
    EXPECT_TRUE(input.move.forward && input.move.strafeLeft && input.move.turnRight);
    EXPECT_FALSE(input.move.back || input.move.strafeRight || input.move.turnLeft);

    std::uint8_t arrows[256] = {};
    arrows[38] = 1; // Up
    EXPECT_TRUE(controls.takeFrameInput(arrows).move.forward);
    arrows[38] = 0;
    arrows[40] = 1; // Down
    arrows['D'] = 1;
    arrows[37] = 1; // Left
    input = controls.takeFrameInput(arrows);
    EXPECT_TRUE(input.move.back && input.move.strafeRight && input.move.turnLeft);
    EXPECT_FALSE(input.move.forward);
    std::uint8_t letterS[256] = {};
    letterS['S'] = 1;
    EXPECT_TRUE(controls.takeFrameInput(letterS).move.back);
}

TEST(ExploreControlsTest, PressesAskOnceEachAndPairsCancel) {
    ExploreControls controls;
    const std::uint8_t held[256] = {};
    controls.keyDown(ExploreControls::KeyTab);
    controls.keyDown(ExploreControls::KeyF12);
    controls.keyDown(ExploreControls::KeyF);
    controls.keyDown(ExploreControls::KeyM);
    controls.keyDown(ExploreControls::KeyP);
    controls.keyDown('G'); // nothing of ours
    ExploreControls::FrameInput input = controls.takeFrameInput(held);
    EXPECT_TRUE(input.toggleExplore && input.toggleFrameRate && input.toggleMap &&
                input.toggleSharp);
    EXPECT_EQ(input.screenshots, 1);
    input = controls.takeFrameInput(held);
    EXPECT_FALSE(input.toggleExplore || input.toggleFrameRate || input.toggleMap ||
                 input.toggleSharp);
    EXPECT_EQ(input.screenshots, 0);

    // Two quick Tabs between frames leave the mode as it was; two F12 save twice.
    controls.keyDown(ExploreControls::KeyTab);
    controls.keyDown(ExploreControls::KeyTab);
    controls.keyDown(ExploreControls::KeyF12);
    controls.keyDown(ExploreControls::KeyF12);
    controls.keyDown(ExploreControls::KeyM);
    controls.keyDown(ExploreControls::KeyM);
    input = controls.takeFrameInput(held);
    EXPECT_FALSE(input.toggleExplore || input.toggleMap);
    EXPECT_EQ(input.screenshots, 2);
}

TEST(ExploreControlsTest, DraggingWithTheLeftButtonTurns) {
    ExploreControls controls;
    const std::uint8_t held[256] = {};
    controls.pointerMoved(mouseAt(100.0f, false)); // no button: no turn
    EXPECT_EQ(controls.takeFrameInput(held).move.mouseTurn, 0.0f);

    controls.buttonDown(mouseAt(100.0f, true));
    controls.pointerMoved(mouseAt(110.0f, true));
    controls.pointerMoved(mouseAt(130.0f, true));
    // 30 pixels to the right turns right (negative) by 30 x radiansPerPixel.
    EXPECT_FLOAT_EQ(controls.takeFrameInput(held).move.mouseTurn,
                    -30.0f * ExploreControls::radiansPerPixel);
    controls.pointerMoved(mouseAt(120.5f, true)); // fractional at zoom, left again
    EXPECT_FLOAT_EQ(controls.takeFrameInput(held).move.mouseTurn,
                    9.5f * ExploreControls::radiansPerPixel);

    controls.buttonUp(mouseAt(120.5f, false));
    controls.pointerMoved(mouseAt(200.0f, false));
    EXPECT_EQ(controls.takeFrameInput(held).move.mouseTurn, 0.0f);

    // A release the window never saw (focus lost) ends the drag too.
    controls.buttonDown(mouseAt(50.0f, true));
    controls.focusLost();
    controls.pointerMoved(mouseAt(90.0f, true));
    EXPECT_EQ(controls.takeFrameInput(held).move.mouseTurn, 0.0f);
}

TEST(ExploreControlsTest, AClickInExploreModeLooksAroundUntilEscapeOrTabGivesThePointerBack) {
    ExploreControls controls;
    ExploreObserver observer(controls);
    FakePlatformScreen screen;
    ASSERT_TRUE(screen.open("explore", 320, 240, ScreenMode::Windowed, PixelMode::Integer));
    screen.setObserver(&observer);
    const std::uint8_t held[256] = {};
    FakeWindow& window = *screen.window();

    window.send(wm::LButtonDown, 0, mousePosition(10, 10));
    EXPECT_FALSE(screen.relativeMouse()) << "outside explore mode a click is only a click";
    window.send(wm::LButtonUp, 0, mousePosition(10, 10));

    controls.setExploring(true);
    window.send(wm::LButtonDown, 0, mousePosition(10, 10));
    ASSERT_TRUE(screen.relativeMouse());
    window.send(wm::MouseDelta, 0, mousePosition(25, -4));
    EXPECT_FLOAT_EQ(controls.takeFrameInput(held).move.mouseTurn,
                    -25.0f * ExploreControls::radiansPerPixel);

    window.send(wm::KeyDown, ExploreControls::KeyTab);
    EXPECT_FALSE(screen.relativeMouse());
    EXPECT_FALSE(controls.takeFrameInput(held).toggleExplore) << "Tab only gave the pointer back";
    window.send(wm::KeyUp, ExploreControls::KeyTab);

    window.send(wm::LButtonDown, 0, mousePosition(10, 10));
    ASSERT_TRUE(screen.relativeMouse());
    window.send(wm::KeyDown, 27);
    EXPECT_FALSE(screen.relativeMouse());
    EXPECT_FALSE(screen.closeRequested()) << "the first Escape only gave the pointer back";
    window.send(wm::KeyUp, 27);
    window.send(wm::KeyDown, 27);
    EXPECT_TRUE(screen.closeRequested());
}
