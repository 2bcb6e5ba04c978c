#include "renderer/output/FrameCrc.h"

#include <zlib.h>

#include <cinttypes>
#include <cstdio>

std::uint32_t frameCrc(const PackedPixel* pixels, std::size_t count) {
    constexpr std::size_t chunkPixels = 1024;
    unsigned char bytes[chunkPixels * 4];
    uLong crc = crc32(0L, Z_NULL, 0);
    for (std::size_t done = 0; done < count;) {
        const std::size_t n = count - done < chunkPixels ? count - done : chunkPixels;
        for (std::size_t i = 0; i < n; ++i) {
            const PackedPixel p = pixels[done + i];
            bytes[i * 4 + 0] = static_cast<unsigned char>(p & 0xFFu);
            bytes[i * 4 + 1] = static_cast<unsigned char>((p >> 8) & 0xFFu);
            bytes[i * 4 + 2] = static_cast<unsigned char>((p >> 16) & 0xFFu);
            bytes[i * 4 + 3] = static_cast<unsigned char>((p >> 24) & 0xFFu);
        }
        crc = crc32(crc, bytes, static_cast<uInt>(n * 4));
        done += n;
    }
    return static_cast<std::uint32_t>(crc);
}

FrameCrcLine frameCrcLine(long long frame, std::uint32_t crc) {
    FrameCrcLine line;
    std::snprintf(line.text, sizeof line.text, "frame %lld crc32 %08" PRIX32 "\n", frame, crc);
    return line;
}
