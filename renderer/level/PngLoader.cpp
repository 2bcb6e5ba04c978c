#include "renderer/level/PngLoader.h"

#include "renderer/level/Level.h"

#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

// Far more than any legitimate ancillary chunk of a texture; keeps a hostile
// file from making libpng allocate large text or profile chunks.
constexpr png_alloc_size_t chunkMemoryLimit = 1u << 20;
constexpr png_uint_32 chunkCountLimit = 64;

// Everything loadPng acquires. It lives in loadPng's frame, outside the function
// that calls setjmp, so its values are reliable after libpng long-jumps out of
// a read.
struct LoadResources {
    std::FILE* file = nullptr;
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_bytep decoded = nullptr;
    png_bytepp rows = nullptr;
    PackedPixel* packed = nullptr;
};

[[noreturn]] void onPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void onPngWarning(png_structp, png_const_charp) {}

bool sizeAllowed(std::uint32_t width, std::uint32_t height, bool flat) {
    const std::uint32_t least = flat ? flatTextureSide : 1;
    const std::uint32_t most = flat ? flatTextureSide : maxTextureSide;
    return width >= least && width <= most && height >= least && height <= most;
}

// Reads the header, asks libpng for 8-bit RGB(A) whatever the file holds, and
// refuses an image of a size a texture may not have before a pixel buffer exists.
bool readHeader(LoadResources& r, png_uint_32& channels, bool flat) {
    png_set_user_limits(r.png, maxTextureSide, maxTextureSide);
    png_set_chunk_malloc_max(r.png, chunkMemoryLimit);
    png_set_chunk_cache_max(r.png, chunkCountLimit);
    // A texture needs no ancillary chunk but tRNS. Skipping the rest also keeps
    // libpng from allocating whatever a chunk's length field claims: an
    // oversized chunk is only a warning to it, and the buffer would come first.
    png_set_keep_unknown_chunks(r.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_init_io(r.png, r.file);
    png_read_info(r.png, r.info);
    const png_uint_32 width = png_get_image_width(r.png, r.info);
    if (!sizeAllowed(width, png_get_image_height(r.png, r.info), flat)) {
        return false;
    }
    png_set_expand(r.png);
    png_set_strip_16(r.png);
    png_set_gray_to_rgb(r.png);
    png_set_interlace_handling(r.png);
    png_read_update_info(r.png, r.info);
    channels = png_get_channels(r.png, r.info);
    const bool eightBitColour = png_get_bit_depth(r.png, r.info) == 8 &&
                                (channels == 3 || channels == 4) &&
                                png_get_rowbytes(r.png, r.info) == width * channels;
    return eightBitColour;
}

bool allocateBuffers(LoadResources& r, png_uint_32 width, png_uint_32 height, png_uint_32 channels,
                     PackedPixel*& pixels) {
    const std::size_t rowBytes = std::size_t{width} * channels;
    r.decoded = static_cast<png_bytep>(std::malloc(rowBytes * height));
    if (r.decoded == nullptr) {
        return false;
    }
    r.packed = static_cast<PackedPixel*>(std::malloc(std::size_t{width} * height * 4));
    pixels = r.packed;
    if (r.packed == nullptr) {
        return false;
    }
    r.rows = static_cast<png_bytepp>(std::malloc(height * sizeof(png_bytep)));
    if (r.rows == nullptr) {
        return false;
    }
    for (png_uint_32 i = 0; i < height; ++i) {
        r.rows[i] = r.decoded + i * rowBytes;
    }
    return true;
}

// The only function that calls setjmp. It keeps no state of its own: all that a
// long jump must not lose is in the caller's LoadResources and outputs.
bool decode(LoadResources& r, std::int32_t& width, std::int32_t& height, PackedPixel*& pixels,
            png_uint_32& channels, bool flat) {
    if (setjmp(png_jmpbuf(r.png))) {
        return false;
    }
    if (!readHeader(r, channels, flat)) {
        return false;
    }
    width = static_cast<std::int32_t>(png_get_image_width(r.png, r.info));
    height = static_cast<std::int32_t>(png_get_image_height(r.png, r.info));
    if (!allocateBuffers(r, png_get_image_width(r.png, r.info), png_get_image_height(r.png, r.info),
                         channels, pixels)) {
        return false;
    }
    png_set_rows(r.png, r.info, r.rows);
    png_read_image(r.png, r.rows);
    png_read_end(r.png, nullptr);
    return true;
}

void releaseDecoder(LoadResources& r) {
    if (r.png != nullptr) {
        png_destroy_read_struct(&r.png, r.info != nullptr ? &r.info : nullptr, nullptr);
    }
    if (r.file != nullptr) {
        std::fclose(r.file);
        r.file = nullptr;
    }
    std::free(r.rows);
    r.rows = nullptr;
}

void pack(const png_byte* decoded, std::size_t count, png_uint_32 channels, bool seeThrough,
          PackedPixel* out) {
    const bool clearKept = seeThrough && channels == 4;
    for (std::size_t k = 0; k < count; ++k) {
        const png_byte* p = decoded + k * channels;
        const PackedPixel alpha = clearKept && p[3] == 0 ? 0u : 0xFF000000u;
        out[k] = alpha | PackedPixel{p[0]} << 16 | PackedPixel{p[1]} << 8 | p[2];
    }
}

bool openable(const char* path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) &&
           std::filesystem::file_size(path, error) <= maxTextureFileBytes && !error;
}

std::uint32_t bigEndian(const unsigned char* bytes) {
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
           std::uint32_t{bytes[2]} << 8 | bytes[3];
}

// What the first bytes of a file that is not a PNG say it is.
std::string notPng(const unsigned char* head, std::size_t length) {
    const auto starts = [&](const char* magic) {
        const std::size_t size = std::strlen(magic);
        return length >= size && std::memcmp(head, magic, size) == 0;
    };
    const char* kind = starts("\xFF\xD8\xFF") ? "a JPEG image"
                       : starts("GIF8")       ? "a GIF image"
                       : starts("BM")         ? "a BMP image"
                       : starts("RIFF")       ? "a RIFF (WebP) file"
                                              : nullptr;
    return kind != nullptr ? std::string("is ") + kind + ", not a PNG"
                           : "is not a PNG (it does not start as one)";
}

} // namespace

std::string pngProblem(const char* path, bool flat) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return "was not found";
    }
    if (status.type() == std::filesystem::file_type::directory) {
        return "is a folder, not a PNG file";
    }
    if (status.type() != std::filesystem::file_type::regular) {
        return "is not a regular file (a device, pipe or socket); a texture is read from a file";
    }
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error && size > maxTextureFileBytes) {
        return "has " + std::to_string(size) + " bytes; a texture file may have at most 8 MB";
    }
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return "cannot be opened";
    }
    // The signature, then the IHDR chunk's length, type, width and height.
    unsigned char head[24] = {};
    const std::size_t length = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (length < sizeof signature || std::memcmp(head, signature, sizeof signature) != 0) {
        return notPng(head, length);
    }
    if (length == sizeof head && std::memcmp(head + 12, "IHDR", 4) == 0) {
        const std::uint32_t width = bigEndian(head + 16);
        const std::uint32_t height = bigEndian(head + 20);
        if (!sizeAllowed(width, height, flat)) {
            return "is " + std::to_string(width) + " x " + std::to_string(height) +
                   (flat ? " pixels; a floor or ceiling texture is 64 x 64"
                         : " pixels; a texture is 1 to 1024 pixels wide and high");
        }
    }
    return "is a damaged PNG, or one this program cannot read";
}

PackedPixel* loadPng(const char* path, std::int32_t& width, std::int32_t& height,
                     PackedPixel*& pixels, bool seeThrough, bool flat) {
    pixels = nullptr;
    LoadResources r;
    if (!openable(path)) {
        return nullptr;
    }
    r.file = std::fopen(path, "rb");
    if (r.file == nullptr) {
        return nullptr;
    }
    r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (r.png != nullptr) {
        r.info = png_create_info_struct(r.png);
    }
    png_uint_32 channels = 0;
    const bool decoded = r.info != nullptr && decode(r, width, height, pixels, channels, flat);
    releaseDecoder(r);
    if (decoded) {
        pack(r.decoded, static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
             channels, seeThrough, r.packed);
    } else {
        std::free(r.packed);
        r.packed = nullptr;
        pixels = nullptr;
    }
    std::free(r.decoded);
    return r.packed;
}

void transposeTexture(std::int32_t index) {
    PackedPixel* pixels = textures[index].pixels;
    if (pixels == nullptr) {
        return;
    }
    const auto width = static_cast<std::size_t>(textures[index].width);
    const auto height = static_cast<std::size_t>(textures[index].height);
    std::vector<PackedPixel> columns(width * height);
    for (std::size_t r = 0; r < height; ++r) {
        for (std::size_t c = 0; c < width; ++c) {
            columns[c * height + r] = pixels[r * width + c];
        }
    }
    std::memcpy(pixels, columns.data(), columns.size() * sizeof(PackedPixel));
}
