// libFuzzer target for loadPng. The loader reads from a path, so each input is
// written to an in-memory file and loaded through its /proc/self/fd path.

#include "renderer/level/Level.h"
#include "renderer/level/PngLoader.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

// The loader's transpose refers to the level's texture table; this program
// builds no level, so the table stays empty.
Texture* textures = nullptr;

namespace {

int inputFile() {
    static const int fd = memfd_create("loader-input", 0);
    if (fd < 0) {
        std::abort();
    }
    return fd;
}

void store(const std::uint8_t* data, std::size_t size) {
    const int fd = inputFile();
    if (ftruncate(fd, 0) != 0) {
        std::abort();
    }
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = pwrite(fd, data + written, size - written, static_cast<off_t>(written));
        if (n <= 0) {
            std::abort();
        }
        written += static_cast<std::size_t>(n);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/proc/self/fd/" + std::to_string(inputFile());
    store(data, size);

    static PackedPixel stale = 0;
    std::int32_t width = -1;
    std::int32_t height = -1;
    PackedPixel* pixels = &stale;
    PackedPixel* result = loadPng(path.c_str(), width, height, pixels);

    // Whatever the input, the outcome is nothing or a whole opaque texture.
    if (pixels != result) {
        std::abort();
    }
    if (result != nullptr) {
        if (width != 64 || height != 64) {
            std::abort();
        }
        for (int i = 0; i < 64 * 64; ++i) {
            if (result[i] >> 24 != 0xFF) {
                std::abort();
            }
        }
        std::free(result);
    }
    return 0;
}
