#pragma once

#include "renderer/level/Pixel.h"

#include <cstdint>
#include <string>

// A texture file larger than this is refused unread: a 64 x 64 PNG of any kind
// is a few kilobytes.
constexpr std::uintmax_t maxTextureFileBytes = 1024 * 1024;

// Decodes a 64 x 64 PNG of any colour type and bit depth into malloc'ed
// PackedPixels (row-major, alpha 0xFF, the file's own alpha dropped; with
// seeThrough, a texel of alpha 0 keeps alpha 0 and every other is opaque). The size
// goes to width and height once the header has been accepted, the pixel pointer
// to pixels. Returns the pixels, or null - with pixels null as well - when the
// file is missing, unreadable, damaged or of any other size. Only a regular file
// of at most maxTextureFileBytes is opened (a pipe or /dev/stdin would wait).
PackedPixel* loadPng(const char* path, std::int32_t& width, std::int32_t& height,
                     PackedPixel*& pixels, bool seeThrough = false);

// Why loadPng refused the file, as the end of a sentence about it: "was not
// found", "is a folder", "is 128 x 128 pixels; a texture is 64 x 64", "is a JPEG
// image, not a PNG", ...
std::string pngProblem(const char* path);

// Turns textures[index] into column order: image column c becomes the 64
// consecutive pixels starting at c * 64. A record without pixels is left alone.
void transposeTexture(std::int32_t index);
