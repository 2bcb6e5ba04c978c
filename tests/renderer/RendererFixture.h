#pragma once

#include "renderer/draw/CurrentViewColumns.h"
#include "renderer/draw/FrameLoop.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// Texels that name themselves: red = texture index, green = image column, blue =
// image row, so any framebuffer pixel tells which texel of which texture it shows.
struct Texel {
    std::int32_t texture, column, row;
};
PackedPixel codedTexel(std::int32_t texture, std::int32_t column, std::int32_t row);

// Writes the seven coded textures into a folder of the build tree named after the
// caller (tests may run in parallel processes) and returns the folder.
std::filesystem::path writeCodedTextures(const std::string& name);

// The built-in level with coded textures, the animation prepared, and a framebuffer
// full of a colour no texture has, so untouched pixels stand out.
class RendererFixture : public ::testing::Test {
  protected:
    static constexpr PackedPixel untouched = 0x00ABCDEFu;

    void SetUp() override;
    void TearDown() override;

    PackedPixel at(std::int32_t x, std::int32_t y) const { return pixels[y * screenWidth + x]; }
    Texel texelAt(std::int32_t x, std::int32_t y) const;
    std::int32_t untouchedInColumn(std::int32_t x) const;

    // A camera at the given eye height looking along the unit vector (dx, dy), with
    // the column's window fully open and the flat depths forgotten.
    static void placeCamera(float x, float y, float eye, float dx = 1.0f, float dy = 0.0f);
    static void openWindow(std::int32_t top = 0, std::int32_t bottom = screenHeight);

    std::vector<PackedPixel> pixels;
};
