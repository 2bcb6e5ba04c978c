#pragma once

#include "convert/PixelTypes.h"

#include <cstdint>

// Decodes a 64 x 64 PNG into malloc'ed PackedPixels (alpha 0xFF), writing the
// size and the pixel pointer to the outputs. Returns the pixels, or null when the
// file is missing, unreadable, corrupt or of any other size.
PackedPixel* loadPng(const char* path, std::int32_t& width, std::int32_t& height,
                     PackedPixel*& pixels);

// Turns textures[index] into column order: image column c becomes the 64
// consecutive pixels starting at c * 64.
void transposeTexture(std::int32_t index);
