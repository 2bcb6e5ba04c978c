#pragma once

#include "renderer/level/Pixel.h"

#include <cstdint>

// Decodes a 64 x 64 PNG of any colour type and bit depth into malloc'ed
// PackedPixels (row-major, alpha 0xFF, the file's own alpha dropped). The size
// goes to width and height once the header has been accepted, the pixel pointer
// to pixels. Returns the pixels, or null - with pixels null as well - when the
// file is missing, unreadable, damaged or of any other size.
PackedPixel* loadPng(const char* path, std::int32_t& width, std::int32_t& height,
                     PackedPixel*& pixels);

// Turns textures[index] into column order: image column c becomes the 64
// consecutive pixels starting at c * 64. A record without pixels is left alone.
void transposeTexture(std::int32_t index);
