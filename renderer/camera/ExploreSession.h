#pragma once

#include "renderer/camera/FreeCamera.h"

// Explore mode beside the scripted animation. While it is off, frames are exactly
// the script's; while it is on, the free camera takes the script's place and the
// clock and the moving room go on as before.
class ExploreSession {
  public:
    bool active() const { return active_; }
    // Enters at the next frame, from the script's camera of that frame; leaving
    // hands the camera back to the script at once, on its path at the current clock.
    void toggle();

    // Draws the next frame of the animation. The input and elapsed seconds move
    // the free camera and are ignored while explore mode is off; the level's doors
    // and lifts move on by the elapsed seconds either way.
    void drawFrame(const MoveInput& input, float elapsed);
    // All that drawFrame does before it draws: the clock, the doors and lifts and
    // the camera moved on, the view set where the next frame would show it.
    void step(const MoveInput& input, float elapsed);

    const FreeCamera& camera() const { return camera_; }
    // The view angle of the frame just drawn, in radians, whichever camera drew it.
    float viewAngle() const;

  private:
    bool active_ = false;
    bool entering_ = false;
    bool using_ = false; // the use key held in the last frame
    FreeCamera camera_ = {};
};
