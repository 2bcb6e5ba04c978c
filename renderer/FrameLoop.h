#pragma once

#include "renderer/Pixel.h"
#include "renderer/ScreenSize.h"
#include "renderer/Vec3.h"

#include <cstdint>

// Camera and clock of the scripted animation; rewritten at the start of every frame.
extern Vec3 cameraPos;            // z is the eye height
extern std::int32_t cameraSector; // the script keeps it at 0; explore mode moves it
extern Vec3 viewDir;              // (cos A, sin A, 0) for the view angle A
extern Vec3 viewSide;             // viewDir turned by -90 degrees
extern float animationTime;       // the clock, advanced by 0.01 per frame
extern float columnSlopes[screenWidth];
extern float rowSlopes[screenHeight];
extern PackedPixel* framebuffer; // 320 x 240, row-major; borrowed from the caller

// Starts the animation: camera sector 0, clock at 5.0, the two slope tables, and
// the framebuffer every later frame draws into (null draws nothing).
void prepareFrames(PackedPixel* target);

// One frame of the animation: advanceAnimation, then drawView.
void drawFrame();

// The two halves of drawFrame, so another camera can take the script's place in
// between: advanceAnimation moves the clock, the scripted camera and sector 1's
// floor and ceiling; drawView prepares what every column shares (the flat depths
// for the current eye height) and draws the columns from whatever camera and
// camera sector are current.
void advanceAnimation();
void drawView();

// The scripted camera and view vectors of the current clock value.
void updateCamera();

// Draws all 320 columns from the current camera, view and camera sector, on the
// threads set by setFrameThreads; raises deepestColumnVisits. The flat depths
// must already be prepared for the current eye height (drawView does that).
void drawColumns();

// Draws the columns of later frames on this many threads (at least 1; 1 draws on
// the caller's thread alone). The helper threads start here, not per frame.
void setFrameThreads(std::int32_t threads);
std::int32_t frameThreads();
