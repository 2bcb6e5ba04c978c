#pragma once

namespace duskhall {

/// The buttons held and the pointer position in frame pixels, scaled from the
/// window: fractional at zoom factors above 1, and outside 0..width, 0..height
/// over the bars around a scaled picture and while a held button keeps the
/// pointer captured beyond the window. dx and dy are the last move's change, in
/// frame pixels, in every mode; with the relative mouse on they are the only
/// measure of movement (the pointer is held still).
struct MouseState {
    bool left = false;   ///< The left button is held.
    bool middle = false; ///< The middle button is held.
    bool right = false;  ///< The right button is held.
    float x = 0.0f;      ///< The pointer's column, 0 at the frame's left edge.
    float y = 0.0f;      ///< The pointer's row, 0 at the frame's top edge.
    float dx = 0.0f;     ///< The last move's change of x.
    float dy = 0.0f;     ///< The last move's change of y.
};

} // namespace duskhall
