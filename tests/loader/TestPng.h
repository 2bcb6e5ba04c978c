#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Builds PNG files for the loader's checks with libpng's writer, so every case
// is made here and nothing is taken from elsewhere.
struct TestPng {
    std::uint32_t width = 64;
    std::uint32_t height = 64;
    int colourType = 2; // PNG_COLOR_TYPE_RGB
    int bitDepth = 8;
    bool interlaced = false;
    // RGB triples for palette images.
    std::vector<std::uint8_t> palette;
    // Written as a tRNS chunk: palette alphas, or one grey / RGB key of samples.
    std::vector<std::uint16_t> transparency;
    // Samples of pixel (x, y), one per channel, at the image's bit depth.
    std::function<std::vector<std::uint16_t>(std::uint32_t x, std::uint32_t y)> samples;

    std::vector<std::uint8_t> encode() const;
};

// Byte surgery on an encoded PNG.
namespace png_bytes {

// Offset of the chunk's length field, or -1 when there is no such chunk.
long findChunk(const std::vector<std::uint8_t>& png, const char* type);
// Recomputes the CRC of the chunk whose length field is at offset.
void fixCrc(std::vector<std::uint8_t>& png, long offset);
void putBigEndian32(std::vector<std::uint8_t>& png, long offset, std::uint32_t value);

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

} // namespace png_bytes
