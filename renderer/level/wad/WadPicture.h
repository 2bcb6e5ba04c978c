#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The WAD picture format (wall patches, sprites, menu graphics): a header with the
// size and the offsets, then per column a list of posts, runs of palette indices
// going down. Texels no post covers stay transparent. A post whose top is not
// below the previous post's top continues from it ("tall" pictures taller than a
// byte can say).

constexpr std::int32_t maxWadPictureSide = 4096;
constexpr std::int32_t maxWadPictureTexels = 1 << 22;

struct WadPicture {
    std::int32_t width = 0, height = 0;
    // Where the picture is drawn from: its left edge and top, kept for sprites.
    std::int32_t leftOffset = 0, topOffset = 0;
    std::vector<std::uint8_t> indices; // row-major palette indices
    std::vector<std::uint8_t> covered; // row-major, 1 where a post covers the texel

    bool opaque(std::int32_t x, std::int32_t y) const {
        return covered[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(x)] != 0;
    }
    std::uint8_t index(std::int32_t x, std::int32_t y) const {
        return indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(x)];
    }
};

// Decodes a picture lump. On failure says what is wrong (without the file or
// lump name, which the caller adds) and leaves picture empty.
bool decodeWadPicture(const std::uint8_t* data, std::size_t size, WadPicture& picture,
                      std::string& problem);
