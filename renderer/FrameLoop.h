#pragma once

#include "renderer/Pixel.h"
#include "renderer/ScreenSize.h"
#include "renderer/Vec3.h"

#include <cstdint>

// Camera and clock of the scripted animation; rewritten at the start of every frame.
extern Vec3 cameraPos;            // z is the eye height
extern std::int32_t cameraSector; // the camera never leaves sector 0
extern Vec3 viewDir;              // (cos A, sin A, 0) for the view angle A
extern Vec3 viewSide;             // viewDir turned by -90 degrees
extern float animationTime;       // the clock, advanced by 0.01 per frame
extern float columnSlopes[screenWidth];
extern float rowSlopes[screenHeight];
extern PackedPixel* framebuffer; // 320 x 240, row-major; borrowed from the caller

// Starts the animation: camera sector 0, clock at 5.0, the two slope tables, and
// the framebuffer every later frame draws into (null draws nothing).
void prepareFrames(PackedPixel* target);

// Advances the clock, moves the camera and sector 1's floor and ceiling, forgets
// the flat depths of the previous frame and draws all 320 columns.
void drawFrame();

// The camera, view vectors and sector 1 heights of the current clock value; the
// first half of drawFrame, exposed so the scripted path can be checked alone.
void updateCamera();
