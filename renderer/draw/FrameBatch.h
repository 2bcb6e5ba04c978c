#pragma once

#include "renderer/level/Pixel.h"

#include <cstdint>
#include <functional>

// Draws a run of the scripted animation's frames on several threads, each thread
// whole frames into pixels of its own: threads drawing columns of one frame write
// the same framebuffer rows, and every cache line that passes between two cores
// costs far more than drawing it. The pixels are those drawFrame gives frame after
// frame: rows a frame leaves open take the previous frame's pixels once that frame
// is final, and the frames are handed over in order.
//
// Called for each frame in order, on one of the drawing threads, with the frame's
// pixels (the frame size's, valid during the call). A frame is handed over only after the
// call for the frame before it has returned, and the calls never overlap.
using FrameSink = std::function<void(long long frame, const PackedPixel* pixels)>;

// Draws the next frames of the animation prepareFrames started, on the given
// number of threads, as that many drawFrame calls would: afterwards the clock, the
// camera, the level and the framebuffer are where the last call would leave them.
// The script's camera sector stays as it is.
void drawFrameRun(long long frames, std::int32_t threads, const FrameSink& sink);
