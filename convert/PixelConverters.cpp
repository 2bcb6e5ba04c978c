#include "convert/PixelConverters.h"

#include <duskhall/PixelTypes.h>

#include "convert/ConvertRoutines.h"

#include <cstddef>
#include <cstring>

namespace duskhall {

namespace {

// Callers may pass null pointers with a count of 0, which memcpy does not allow.
void copyBlock(const void* source, void* destination, std::uint32_t count, std::size_t pixelBytes) {
    if (count != 0) {
        std::memcpy(destination, source, count * pixelBytes);
    }
}

} // namespace

void XRGB8888ToXRGB8888Converter::convertRun(const void* source, void* destination,
                                             std::uint32_t count) {
    copyBlock(source, destination, count, sizeof(PackedPixel));
}
void XRGB8888ToXBGR8888Converter::convertRun(const void* source, void* destination,
                                             std::uint32_t count) {
    convertXRGB8888ToXBGR8888(source, destination, count);
}
void XRGB8888ToRGB888Converter::convertRun(const void* source, void* destination,
                                           std::uint32_t count) {
    convertXRGB8888ToRGB888(source, destination, count);
}
void XRGB8888ToBGR888Converter::convertRun(const void* source, void* destination,
                                           std::uint32_t count) {
    convertXRGB8888ToBGR888(source, destination, count);
}
void XRGB8888ToRGB565Converter::convertRun(const void* source, void* destination,
                                           std::uint32_t count) {
    convertXRGB8888ToRGB565(source, destination, count);
}
void XRGB8888ToBGR565Converter::convertRun(const void* source, void* destination,
                                           std::uint32_t count) {
    convertXRGB8888ToBGR565(source, destination, count);
}
void XRGB8888ToXRGB1555Converter::convertRun(const void* source, void* destination,
                                             std::uint32_t count) {
    convertXRGB8888ToXRGB1555(source, destination, count);
}
void XRGB8888ToXBGR1555Converter::convertRun(const void* source, void* destination,
                                             std::uint32_t count) {
    convertXRGB8888ToXBGR1555(source, destination, count);
}
void XRGB8888ToFloatingPointConverter::convertRun(const void* source, void* destination,
                                                  std::uint32_t count) {
    convertXRGB8888ToFloatingPoint(source, destination, count);
}
void FloatingPointToXRGB8888Converter::convertRun(const void* source, void* destination,
                                                  std::uint32_t count) {
    convertFloatingPointToXRGB8888(source, destination, count);
}
void FloatingPointToXBGR8888Converter::convertRun(const void* source, void* destination,
                                                  std::uint32_t count) {
    convertFloatingPointToXBGR8888(source, destination, count);
}
void FloatingPointToRGB888Converter::convertRun(const void* source, void* destination,
                                                std::uint32_t count) {
    convertFloatingPointToRGB888(source, destination, count);
}
void FloatingPointToBGR888Converter::convertRun(const void* source, void* destination,
                                                std::uint32_t count) {
    convertFloatingPointToBGR888(source, destination, count);
}
void FloatingPointToRGB565Converter::convertRun(const void* source, void* destination,
                                                std::uint32_t count) {
    convertFloatingPointToRGB565(source, destination, count);
}
void FloatingPointToBGR565Converter::convertRun(const void* source, void* destination,
                                                std::uint32_t count) {
    convertFloatingPointToBGR565(source, destination, count);
}
void FloatingPointToXRGB1555Converter::convertRun(const void* source, void* destination,
                                                  std::uint32_t count) {
    convertFloatingPointToXRGB1555(source, destination, count);
}
void FloatingPointToXBGR1555Converter::convertRun(const void* source, void* destination,
                                                  std::uint32_t count) {
    convertFloatingPointToXBGR1555(source, destination, count);
}
void FloatingPointToFloatingPointConverter::convertRun(const void* source, void* destination,
                                                       std::uint32_t count) {
    copyBlock(source, destination, count, sizeof(FloatPixel));
}

} // namespace duskhall
