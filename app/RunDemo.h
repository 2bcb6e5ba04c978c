#pragma once

#include "renderer/draw/ScreenSize.h"

#include <cstdint>

// How the demo draws: at a frame size of its own, or at the size of its window.
struct DemoSettings {
    std::int32_t width = screenWidth; // the frame, and the window it opens
    std::int32_t height = screenHeight;
    // Sharp: the window is resizable and frames are drawn at its size; otherwise
    // (pixel art) at the size above, scaled to the window. P switches between them.
    bool sharp = false;
};

// The whole demo: opens the display, builds the level, draws frames until the
// display closes, then frees everything. Returns the exit status: 0 after an
// orderly end, 1 when no window could be opened (with a line on standard error).
int runDemo(const DemoSettings& settings = {});

// runDemo in its three parts, for platforms whose frames are driven from outside
// (the browser's animation frames):
// opens the display, builds the built-in level unless a level is built already,
// and starts the animation; false (after the
// line on standard error) when no window could be opened: the demo then ends with 1.
bool startDemo(const DemoSettings& settings = {});
// Draws one frame and shows it; false once the display has closed.
bool demoFrame();
// Frees the level and the textures and closes the display; returns 0.
int endDemo();
