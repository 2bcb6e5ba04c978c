#include "renderer/output/FramePng.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace {

std::vector<png_byte> toRows(const PackedPixel* pixels, std::int32_t width, std::int32_t height,
                             std::size_t channels) {
    std::vector<png_byte> rgb(static_cast<std::size_t>(width) * height * channels);
    for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
        png_byte* out = rgb.data() + i * channels;
        out[0] = static_cast<png_byte>((pixels[i] >> 16) & 0xFFu);
        out[1] = static_cast<png_byte>((pixels[i] >> 8) & 0xFFu);
        out[2] = static_cast<png_byte>(pixels[i] & 0xFFu);
        if (channels == 4) {
            out[3] = static_cast<png_byte>(pixels[i] >> 24);
        }
    }
    return rgb;
}

// libpng reports errors by long-jumping back here; kept free of C++ objects that
// need destructors so the jump skips nothing.
bool encode(std::FILE* file, png_bytep* rows, std::int32_t width, std::int32_t height, bool alpha) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool writeTo(std::FILE* file, const PackedPixel* pixels, std::int32_t width, std::int32_t height,
             bool alpha) {
    bool encoded = false;
    if (width > 0 && height > 0) {
        const std::size_t channels = alpha ? 4 : 3;
        std::vector<png_byte> bytes = toRows(pixels, width, height, channels);
        std::vector<png_bytep> rows(static_cast<std::size_t>(height));
        for (std::int32_t r = 0; r < height; ++r) {
            rows[r] = bytes.data() + static_cast<std::size_t>(r) * width * channels;
        }
        encoded = encode(file, rows.data(), width, height, alpha);
    }
    const bool closed = std::fclose(file) == 0;
    return encoded && closed;
}

bool writeFile(const char* path, const PackedPixel* pixels, std::int32_t width, std::int32_t height,
               bool alpha) {
    if (width <= 0 || height <= 0) {
        return false; // before the file is touched
    }
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    if (!writeTo(file, pixels, width, height, alpha)) {
        std::remove(path);
        return false;
    }
    return true;
}

} // namespace

bool writeFramePng(const char* path, const PackedPixel* pixels, std::int32_t width,
                   std::int32_t height) {
    return writeFile(path, pixels, width, height, false);
}

bool writeFramePngTo(std::FILE* file, const PackedPixel* pixels, std::int32_t width,
                     std::int32_t height) {
    return writeTo(file, pixels, width, height, false);
}

bool writeTexturePng(const char* path, const PackedPixel* pixels, std::int32_t width,
                     std::int32_t height) {
    return writeFile(path, pixels, width, height, true);
}
