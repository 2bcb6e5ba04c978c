#pragma once

#include <cstdint>

namespace duskhall {

// The conversion behind each converting pair, usable without a converter object. Each reads
// `count` source pixels from `source` and writes `count` destination pixels, packed without
// gaps, to `destination`; the buffers must not overlap.

void convertXRGB8888ToXBGR8888(const void* source, void* destination, std::uint32_t count);
void convertXRGB8888ToRGB888(const void* source, void* destination, std::uint32_t count);
void convertXRGB8888ToBGR888(const void* source, void* destination, std::uint32_t count);
void convertXRGB8888ToRGB565(const void* source, void* destination, std::uint32_t count);
void convertXRGB8888ToBGR565(const void* source, void* destination, std::uint32_t count);
void convertXRGB8888ToXRGB1555(const void* source, void* destination, std::uint32_t count);
void convertXRGB8888ToXBGR1555(const void* source, void* destination, std::uint32_t count);
// Element 0 (alpha) of each destination pixel is left as it was.
void convertXRGB8888ToFloatingPoint(const void* source, void* destination, std::uint32_t count);

void convertFloatingPointToXRGB8888(const void* source, void* destination, std::uint32_t count);
void convertFloatingPointToXBGR8888(const void* source, void* destination, std::uint32_t count);
void convertFloatingPointToRGB888(const void* source, void* destination, std::uint32_t count);
void convertFloatingPointToBGR888(const void* source, void* destination, std::uint32_t count);
void convertFloatingPointToRGB565(const void* source, void* destination, std::uint32_t count);
void convertFloatingPointToBGR565(const void* source, void* destination, std::uint32_t count);
void convertFloatingPointToXRGB1555(const void* source, void* destination, std::uint32_t count);
void convertFloatingPointToXBGR1555(const void* source, void* destination, std::uint32_t count);

} // namespace duskhall
