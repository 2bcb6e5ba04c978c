#pragma once

#include "display/WindowGeometry.h"

// Where a picture of the given shape lands when scaled to the largest size that
// fits the area without changing its shape, centred (the canvas's
// "object-fit: contain" in fullscreen). Sizes round to the nearest pixel; an
// empty picture or area gives an empty rectangle.
WindowRect fittedPicture(WindowSize picture, WindowSize area);
