#pragma once

namespace duskhall {

// The buttons held and the pointer position in frame pixels, scaled from the
// window: fractional at zoom factors above 1, and outside 0..width, 0..height
// while a held button keeps the pointer captured beyond the window.
struct MouseState {
    bool left = false;
    bool middle = false;
    bool right = false;
    float x = 0.0f;
    float y = 0.0f;
};

} // namespace duskhall
