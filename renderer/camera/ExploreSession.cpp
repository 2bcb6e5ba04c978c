#include "renderer/camera/ExploreSession.h"

#include "renderer/camera/MoverSteps.h"
#include "renderer/draw/FixedPoint.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/level/Level.h"

#include <cmath>

namespace {

void lookFrom(const FreeCamera& camera) {
    cameraPos = Vec3(camera.x, camera.y, camera.z);
    cameraSector = camera.sector;
    viewDir = Vec3(cosineOf(camera.angle), sineOf(camera.angle), 0.0f);
    // Built as the script builds it, from the stored cosine.
    viewSide = Vec3(sineOf(camera.angle), -viewDir.x, 0.0f);
}

} // namespace

void ExploreSession::toggle() {
    if (active_) {
        active_ = false;
        entering_ = false;
        cameraSector = levelStart.sector;
    } else {
        active_ = true;
        entering_ = true;
    }
}

void ExploreSession::drawFrame(const MoveInput& input, float elapsed) {
    step(input, elapsed);
    drawView();
}

void ExploreSession::step(const MoveInput& input, float elapsed) {
    advanceAnimation();
    if (sectors != nullptr) {
        // On the walker's clock, never more than one of its longest steps.
        const float seconds = elapsed > 0.0f ? std::fmin(elapsed, longestStep) : 0.0f;
        const bool walking = active_ && !entering_;
        stepMovers(levelMovers, sectors, seconds, walking ? camera_.sector : -1, levelBody);
    }
    if (active_ && sectors != nullptr) {
        const MovingSectors moving = {sectorMotions, sectorMotionCount};
        if (entering_) {
            camera_ = cameraFromView(cameraPos.x, cameraPos.y, viewDir.x, viewDir.y, cameraSector,
                                     sectors, moving, levelBody);
            entering_ = false;
        }
        const FreeCamera before = camera_;
        camera_ = stepFreeCamera(camera_, input, elapsed, sectors, moving, levelBody);
        crossWalkLines(levelMovers, before.x, before.y, camera_.x, camera_.y);
        if (input.use && !using_) {
            useLineAhead(levelMovers, sectors, camera_.x, camera_.y, camera_.angle, camera_.sector);
        }
        using_ = input.use;
        lookFrom(camera_);
    }
}

float ExploreSession::viewAngle() const {
    if (active_ && !entering_) {
        return camera_.angle;
    }
    return static_cast<float>(
        std::atan2(static_cast<double>(viewDir.y), static_cast<double>(viewDir.x)));
}
