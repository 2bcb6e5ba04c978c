#pragma once

// Buttons held and the pointer position in framebuffer pixels (fractional at
// zoom factors above 1, outside the frame while the pointer is captured).
struct MouseState {
    bool left = false;
    bool middle = false;
    bool right = false;
    float x = 0.0f;
    float y = 0.0f;
};
