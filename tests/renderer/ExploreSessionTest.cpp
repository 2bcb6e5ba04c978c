#include "EyeChecks.h"
#include "RendererFixture.h"

#include "renderer/camera/ExploreSession.h"
#include "renderer/level/Level.h"
#include "renderer/output/FrameCrc.h"

#include <cmath>

namespace {

constexpr float frameSeconds = 1.0f / 60.0f;

std::uint32_t crcOf(const std::vector<PackedPixel>& pixels) {
    return frameCrc(pixels.data(), pixels.size());
}

} // namespace

using ExploreSessionTest = RendererFixture;

TEST_F(ExploreSessionTest, FramesAreTheScriptsWhileExploreModeIsOff) {
    std::vector<std::uint32_t> scripted;
    for (int frame = 0; frame < 40; ++frame) {
        drawFrame();
        scripted.push_back(crcOf(pixels));
    }

    prepareFrames(pixels.data());
    pixels.assign(pixels.size(), untouched);
    ExploreSession session;
    MoveInput keys;
    keys.forward = true; // ignored while explore mode is off
    for (int frame = 0; frame < 40; ++frame) {
        session.drawFrame(keys, frameSeconds);
        EXPECT_EQ(crcOf(pixels), scripted[frame]) << "frame " << frame + 1;
    }
}

TEST_F(ExploreSessionTest, EnteringStartsFromTheScriptAndLeavingHandsTheCameraBack) {
    std::vector<std::uint32_t> scripted;
    for (int frame = 0; frame < 120; ++frame) {
        drawFrame();
        scripted.push_back(crcOf(pixels));
    }
    prepareFrames(pixels.data());

    ExploreSession session;
    MoveInput still;
    for (int frame = 0; frame < 30; ++frame) {
        session.drawFrame(still, frameSeconds);
    }
    session.toggle();
    session.drawFrame(still, frameSeconds); // frame 31: the script's camera, at eye height
    EXPECT_TRUE(session.active());
    EXPECT_EQ(cameraPos.x, session.camera().x);
    updateCamera(); // the script's camera of the same clock
    EXPECT_EQ(session.camera().x, cameraPos.x);
    EXPECT_EQ(session.camera().y, cameraPos.y);
    EXPECT_NEAR(session.camera().angle, std::atan2(viewDir.y, viewDir.x), 1e-6f);
    EXPECT_EQ(session.camera().z, eyeAboveFloor);

    MoveInput walk;
    walk.forward = true;
    walk.turnLeft = true;
    for (int frame = 32; frame <= 90; ++frame) {
        session.drawFrame(walk, frameSeconds);
        EXPECT_NE(crcOf(pixels), scripted[frame - 1]) << "frame " << frame;
    }
    // The clock went on meanwhile: the script resumes its path where it is now.
    session.toggle();
    EXPECT_FALSE(session.active());
    for (int frame = 91; frame <= 120; ++frame) {
        session.drawFrame(walk, frameSeconds);
        EXPECT_EQ(cameraSector, 0);
        EXPECT_EQ(crcOf(pixels), scripted[frame - 1]) << "frame " << frame;
    }
}

TEST_F(ExploreSessionTest, PicturesFromInsideTheMovingRoomAreWhole) {
    // Into the triangle room (sector 1) and a full turn inside it: every pixel of
    // every frame is drawn, and its own floor and ceiling are below and above.
    ExploreSession session;
    session.toggle();
    MoveInput still;
    session.drawFrame(still, frameSeconds);
    // To the middle of the room's inscribed circle (4.14, 0), 2.14 from each of its
    // walls, so that the floor and ceiling right below and above are the room's own.
    const float targetX = 4.14f;
    const float toRoom = std::atan2(0.0f - session.camera().y, targetX - session.camera().x);
    MoveInput turn;
    turn.mouseTurn = toRoom - session.camera().angle;
    session.drawFrame(turn, frameSeconds);
    MoveInput forward;
    forward.forward = true;
    while (std::hypot(session.camera().x - targetX, session.camera().y) > 0.05f) {
        session.drawFrame(forward, frameSeconds);
        ASSERT_LT(animationTime, 20.0f) << "never reached the room";
    }
    ASSERT_EQ(session.camera().sector, 1);

    MoveInput turnLeft;
    turnLeft.turnLeft = true;
    for (int frame = 0; frame < 180; ++frame) {
        pixels.assign(pixels.size(), untouched);
        session.drawFrame(turnLeft, frameSeconds);
        ASSERT_EQ(cameraSector, 1);
        ASSERT_EQ(eyeOutsideLevel(cameraPos.x, cameraPos.y, cameraPos.z, cameraSector, sectors, 2),
                  "");
        EXPECT_EQ(cameraPos.z, sectors[1].floorHeight + eyeAboveFloor);
        std::int32_t untouchedPixels = 0;
        for (std::int32_t x = 0; x < screenWidth; ++x) {
            untouchedPixels += untouchedInColumn(x);
        }
        EXPECT_EQ(untouchedPixels, 0) << "frame " << frame;
        // The room is 2.5 high and the eye 1.5 above its floor: straight down and
        // up close by are the room's own floor (texture 4) and ceiling (texture 6).
        EXPECT_EQ(texelAt(160, 239).texture, 4) << "frame " << frame;
        EXPECT_EQ(texelAt(160, 0).texture, 6) << "frame " << frame;
    }
}
