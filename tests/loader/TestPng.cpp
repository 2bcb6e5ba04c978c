#include "TestPng.h"

#include <png.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

// A writer error is a mistake in the check itself; stop loudly.
[[noreturn]] void stopOnError(png_structp, png_const_charp message) {
    std::fprintf(stderr, "test PNG writer: %s\n", message);
    std::abort();
}

int channelsOf(int colourType) {
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_PALETTE:
        return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    default:
        return 4;
    }
}

// Packs one row of samples at the file's bit depth: sub-byte samples most
// significant first, 16-bit samples big-endian.
std::vector<png_byte> packRow(const TestPng& image, std::uint32_t y) {
    const int channels = channelsOf(image.colourType);
    const std::size_t bits = std::size_t{image.width} * channels * image.bitDepth;
    std::vector<png_byte> row((bits + 7) / 8, 0);
    std::size_t bit = 0;
    for (std::uint32_t x = 0; x < image.width; ++x) {
        const std::vector<std::uint16_t> s = image.samples(x, y);
        for (int c = 0; c < channels; ++c, bit += image.bitDepth) {
            const std::uint16_t v = s.at(c);
            if (image.bitDepth == 16) {
                row[bit / 8] = static_cast<png_byte>(v >> 8);
                row[bit / 8 + 1] = static_cast<png_byte>(v);
            } else {
                const int shift = 8 - image.bitDepth - static_cast<int>(bit % 8);
                row[bit / 8] |= static_cast<png_byte>(v << shift);
            }
        }
    }
    return row;
}

void writeTransparency(png_structp png, png_infop info, const TestPng& image) {
    if (image.transparency.empty()) {
        return;
    }
    if (image.colourType == PNG_COLOR_TYPE_PALETTE) {
        std::vector<png_byte> alphas(image.transparency.begin(), image.transparency.end());
        png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
        return;
    }
    png_color_16 key{};
    if (image.colourType == PNG_COLOR_TYPE_GRAY) {
        key.gray = image.transparency.at(0);
    } else {
        key.red = image.transparency.at(0);
        key.green = image.transparency.at(1);
        key.blue = image.transparency.at(2);
    }
    png_set_tRNS(png, info, nullptr, 0, &key);
}

} // namespace

std::vector<std::uint8_t> TestPng::encode() const {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, stopOnError, nullptr);
    png_infop info = png_create_info_struct(png);
    {
        png_set_write_fn(png, &out, appendBytes, flushNothing);
        png_set_IHDR(png, info, width, height, bitDepth, colourType,
                     interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        std::vector<png_color> colours;
        for (std::size_t i = 0; i + 2 < palette.size(); i += 3) {
            colours.push_back({palette[i], palette[i + 1], palette[i + 2]});
        }
        if (!colours.empty()) {
            png_set_PLTE(png, info, colours.data(), static_cast<int>(colours.size()));
        }
        writeTransparency(png, info, *this);
        std::vector<std::vector<png_byte>> rows;
        std::vector<png_bytep> rowPointers;
        for (std::uint32_t y = 0; y < height; ++y) {
            rows.push_back(packRow(*this, y));
        }
        for (auto& row : rows) {
            rowPointers.push_back(row.data());
        }
        png_write_info(png, info);
        png_write_image(png, rowPointers.data());
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    return out;
}

namespace png_bytes {

long findChunk(const std::vector<std::uint8_t>& png, const char* type) {
    std::size_t offset = 8;
    while (offset + 8 <= png.size()) {
        const std::uint32_t length = std::uint32_t{png[offset]} << 24 |
                                     std::uint32_t{png[offset + 1]} << 16 |
                                     std::uint32_t{png[offset + 2]} << 8 | png[offset + 3];
        if (std::memcmp(&png[offset + 4], type, 4) == 0) {
            return static_cast<long>(offset);
        }
        offset += 12 + std::size_t{length};
    }
    return -1;
}

void putBigEndian32(std::vector<std::uint8_t>& png, long offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        png.at(offset + i) = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

void fixCrc(std::vector<std::uint8_t>& png, long offset) {
    const std::uint32_t length = std::uint32_t{png.at(offset)} << 24 |
                                 std::uint32_t{png.at(offset + 1)} << 16 |
                                 std::uint32_t{png.at(offset + 2)} << 8 | png.at(offset + 3);
    const uLong crc = crc32(0L, &png.at(offset + 4), length + 4);
    putBigEndian32(png, offset + 8 + static_cast<long>(length), static_cast<std::uint32_t>(crc));
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

} // namespace png_bytes
