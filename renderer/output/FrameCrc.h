#pragma once

#include "renderer/level/Pixel.h"

#include <cstddef>
#include <cstdint>

// CRC-32 (zlib's) of the pixels as consecutive little-endian 32-bit words, so that
// every platform gives the same value for the same picture.
std::uint32_t frameCrc(const PackedPixel* pixels, std::size_t count);

// "frame F crc32 XXXXXXXX\n", the line every tool and the web page print for a frame.
struct FrameCrcLine {
    char text[48];
};
FrameCrcLine frameCrcLine(long long frame, std::uint32_t crc);
