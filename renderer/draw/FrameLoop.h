#pragma once

#include "renderer/draw/FrameGeometry.h"
#include "renderer/draw/ScreenSize.h"
#include "renderer/draw/View.h"
#include "renderer/level/Pixel.h"
#include "renderer/level/Vec3.h"

#include <cstdint>
#include <vector>

// Camera and clock of the scripted animation; rewritten at the start of every frame.
extern Vec3 cameraPos;            // z is the eye height
extern std::int32_t cameraSector; // the script keeps it at 0; explore mode moves it
extern Vec3 viewDir;              // (cos A, sin A, 0) for the view angle A
extern Vec3 viewSide;             // viewDir turned by -90 degrees
extern float animationTime;       // the clock, advanced by 0.01 per frame
extern PackedPixel* framebuffer;  // frameGeometry's width x height, row-major; the caller's

// Later frames are drawn at width x height: sizes the slope tables, the flat depths
// and the threads' share of the columns for it, all before any frame of that size
// so that no frame allocates. False, with nothing changed, for a size outside
// minFrameWidth x minFrameHeight to maxFrameWidth x maxFrameHeight. The framebuffer
// given to prepareFrames, or setFramebuffer, must hold frames of the new size.
bool resizeFrames(std::int32_t width, std::int32_t height);
// Later frames are drawn into target (null draws nothing), without restarting the
// animation as prepareFrames does.
void setFramebuffer(PackedPixel* target);

// The view of the camera, level, flat depths and framebuffer above.
View currentView();

// The rows a drawn column left open, [top, bottom): they keep the previous frame's
// pixels.
struct OpenRows {
    std::int32_t top;
    std::int32_t bottom;
};

// Draws columns [first, end) of a view from scratch (each column's whole window
// open) and returns the most sectors any of them visited; the view's flat depths
// must be prepared. open, when given, gets each column's open rows at its index.
std::int32_t drawViewColumns(const View& view, std::int32_t first, std::int32_t end,
                             OpenRows* open = nullptr);

// The scripted camera at a clock value (moveSectors moves the level's rooms for
// it). nextClock is the clock one frame later.
struct ScriptedFrame {
    Vec3 eye;
    Vec3 dir;
    Vec3 side;
};
ScriptedFrame scriptedFrame(float time);
float nextClock(float time);

// Starts the animation: the camera in the level's start sector, clock at 5.0, the two slope tables,
// and the framebuffer every later frame draws into (null draws nothing).
void prepareFrames(PackedPixel* target);

// One frame of the animation: advanceAnimation, then drawView.
void drawFrame();

// The two halves of drawFrame, so another camera can take the script's place in
// between: advanceAnimation moves the clock, the moving sectors and the camera
// (the script's, or standing at the level's start); drawView prepares what every column shares (the
// flat depths for the current eye height) and draws the columns from whatever camera and camera
// sector are current.
void advanceAnimation();
void drawView();

// The camera and view vectors of the current clock value: the script's, or at
// the start of a level without the script.
void updateCamera();

// Draws every column from the current camera, view and camera sector, on the
// threads set by setFrameThreads; raises deepestColumnVisits. The flat depths
// must already be prepared for the current eye height (drawView does that).
void drawColumns();

// Draws the columns of later frames on this many threads (at least 1; 1 draws on
// the caller's thread alone). The helper threads start here, not per frame.
void setFrameThreads(std::int32_t threads);
std::int32_t frameThreads();
