#pragma once

// The texture generators' PNG writer: 8-bit RGB or RGBA rows, written with fixed
// compression settings so the committed files are reproducible byte for byte.

#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace png_file {

[[noreturn]] inline void failWrite(png_structp png, png_const_charp message) {
    std::fprintf(stderr, "%s: %s\n", static_cast<const char*>(png_get_error_ptr(png)), message);
    std::exit(1);
}

// pixels: height rows of width x (alpha ? 4 : 3) bytes. program names the tool
// in its messages.
inline bool write(const std::string& path, const std::uint8_t* pixels, int width, int height,
                  bool alpha, const char* program) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "%s: cannot write %s\n", program, path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, const_cast<char*>(program),
                                              failWrite, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        std::fprintf(stderr, "%s: out of memory writing %s\n", program, path.c_str());
        png_destroy_write_struct(&png, nullptr);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_compression_mem_level(png, 8);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_compression_window_bits(png, 15);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const int stride = width * (alpha ? 4 : 3);
    for (int y = 0; y < height; ++y) {
        png_write_row(png, pixels + static_cast<std::size_t>(y) * stride);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

} // namespace png_file
