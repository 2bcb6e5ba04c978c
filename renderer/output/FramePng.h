#pragma once

#include "renderer/level/Pixel.h"

#include <cstdint>
#include <cstdio>

// Writes width x height row-major pixels as an 8-bit RGB PNG (alpha dropped).
// Returns false when the file cannot be created or written.
bool writeFramePng(const char* path, const PackedPixel* pixels, std::int32_t width,
                   std::int32_t height);

// The same into an open file, which it closes whatever happens. Returns false when
// the picture could not be written.
bool writeFramePngTo(std::FILE* file, const PackedPixel* pixels, std::int32_t width,
                     std::int32_t height);

// Writes the pixels as an 8-bit RGBA PNG, each texel's alpha kept: a texture
// whose clear texels stay clear when read back.
bool writeTexturePng(const char* path, const PackedPixel* pixels, std::int32_t width,
                     std::int32_t height);
