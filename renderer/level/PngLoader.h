#pragma once

#include "renderer/level/Pixel.h"

#include <cstdint>
#include <string>

// A texture is 1 to maxTextureSide texels wide and high; a floor or ceiling is
// flatTextureSide square, which lets the flat rows find a texel with two masks.
constexpr std::int32_t maxTextureSide = 1024;
constexpr std::int32_t flatTextureSide = 64;

// A texture file larger than this is refused unread: even a 1024 x 1024 PNG of
// noise, which does not compress, has a little over 4 MB.
constexpr std::uintmax_t maxTextureFileBytes = 8 * 1024 * 1024;

// Decodes a PNG of any colour type and bit depth, 1 to maxTextureSide pixels on
// each side (with flat, exactly flatTextureSide), into malloc'ed PackedPixels
// (row-major, alpha 0xFF, the file's own alpha dropped; with seeThrough, a texel
// of alpha 0 keeps alpha 0 and every other is opaque). The size goes to width and
// height once the header has been accepted, the pixel pointer to pixels. Returns
// the pixels, or null - with pixels null as well - when the file is missing,
// unreadable, damaged or of any other size. Only a regular file of at most
// maxTextureFileBytes is opened (a pipe or /dev/stdin would wait).
PackedPixel* loadPng(const char* path, std::int32_t& width, std::int32_t& height,
                     PackedPixel*& pixels, bool seeThrough = false, bool flat = false);

// Why loadPng (given the same flat) refused the file, as the end of a sentence
// about it: "was not found", "is a folder", "is 2048 x 2048 pixels; a texture is
// 1 to 1024 pixels wide and high", "is a JPEG image, not a PNG", ...
std::string pngProblem(const char* path, bool flat = false);

// Turns textures[index] into column order: image column c becomes the height
// consecutive pixels starting at c * height. A record without pixels is left alone.
void transposeTexture(std::int32_t index);
