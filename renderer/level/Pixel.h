#pragma once

#include <duskhall/PixelTypes.h>

// The renderer draws the display library's true-colour pixels.
using duskhall::PackedPixel;
