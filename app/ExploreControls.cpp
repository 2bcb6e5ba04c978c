#include "app/ExploreControls.h"

using duskhall::KeyCode;
using duskhall::MouseState;

namespace {

constexpr KeyCode KeyLeft = 37;
constexpr KeyCode KeyUp = 38;
constexpr KeyCode KeyRight = 39;
constexpr KeyCode KeyDown = 40;
constexpr KeyCode KeyA = 65;
constexpr KeyCode KeyD = 68;
constexpr KeyCode KeyS = 83;
constexpr KeyCode KeyW = 87;

} // namespace

void ExploreControls::keyDown(KeyCode key) {
    if (key == KeyTab) {
        ++explorePresses_;
    } else if (key == KeySpace) {
        ++usePresses_;
    } else if (key == KeyF12) {
        ++screenshotPresses_;
    } else if (key == KeyF) {
        ++frameRatePresses_;
    } else if (key == KeyM) {
        ++mapPresses_;
    } else if (key == KeyP) {
        ++sharpPresses_;
    }
}

void ExploreControls::buttonDown(const MouseState& mouse) {
    if (mouse.left && !dragging_) {
        dragging_ = true;
        dragX_ = mouse.x;
    }
}

void ExploreControls::buttonUp(const MouseState& mouse) {
    if (!mouse.left) {
        dragging_ = false;
    }
}

void ExploreControls::pointerMoved(const MouseState& mouse) {
    if (!dragging_ || !mouse.left) {
        dragging_ = false;
        return;
    }
    // Dragging to the right turns right, the way the picture is pulled.
    mouseTurn_ -= (mouse.x - dragX_) * radiansPerPixel;
    dragX_ = mouse.x;
}

void ExploreControls::looked(const MouseState& mouse) {
    mouseTurn_ -= mouse.dx * radiansPerPixel;
}

void ExploreControls::focusLost() {
    dragging_ = false;
}

ExploreControls::FrameInput ExploreControls::takeFrameInput(const std::uint8_t (&keyHeld)[256]) {
    FrameInput input;
    input.move.forward = keyHeld[KeyW] != 0 || keyHeld[KeyUp] != 0;
    input.move.back = keyHeld[KeyS] != 0 || keyHeld[KeyDown] != 0;
    input.move.strafeLeft = keyHeld[KeyA] != 0;
    input.move.strafeRight = keyHeld[KeyD] != 0;
    input.move.turnLeft = keyHeld[KeyLeft] != 0;
    input.move.turnRight = keyHeld[KeyRight] != 0;
    input.move.mouseTurn = mouseTurn_;
    input.move.use = usePresses_ > 0;
    usePresses_ = 0;
    input.toggleExplore = explorePresses_ % 2 != 0;
    input.screenshots = screenshotPresses_;
    input.toggleFrameRate = frameRatePresses_ % 2 != 0;
    input.toggleMap = mapPresses_ % 2 != 0;
    input.toggleSharp = sharpPresses_ % 2 != 0;
    explorePresses_ = 0;
    sharpPresses_ = 0;
    screenshotPresses_ = 0;
    frameRatePresses_ = 0;
    mapPresses_ = 0;
    mouseTurn_ = 0.0f;
    return input;
}
