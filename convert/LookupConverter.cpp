#include <duskhall/PixelConverter.h>

#include "convert/PixelConverters.h"

namespace duskhall {

namespace {

// The one instance of each converter, constructed during static initialisation.
XRGB8888ToXRGB8888Converter theXRGB8888ToXRGB8888Converter;
XRGB8888ToXBGR8888Converter theXRGB8888ToXBGR8888Converter;
XRGB8888ToRGB888Converter theXRGB8888ToRGB888Converter;
XRGB8888ToBGR888Converter theXRGB8888ToBGR888Converter;
XRGB8888ToRGB565Converter theXRGB8888ToRGB565Converter;
XRGB8888ToBGR565Converter theXRGB8888ToBGR565Converter;
XRGB8888ToXRGB1555Converter theXRGB8888ToXRGB1555Converter;
XRGB8888ToXBGR1555Converter theXRGB8888ToXBGR1555Converter;
XRGB8888ToFloatingPointConverter theXRGB8888ToFloatingPointConverter;
FloatingPointToXRGB8888Converter theFloatingPointToXRGB8888Converter;
FloatingPointToXBGR8888Converter theFloatingPointToXBGR8888Converter;
FloatingPointToRGB888Converter theFloatingPointToRGB888Converter;
FloatingPointToBGR888Converter theFloatingPointToBGR888Converter;
FloatingPointToRGB565Converter theFloatingPointToRGB565Converter;
FloatingPointToBGR565Converter theFloatingPointToBGR565Converter;
FloatingPointToXRGB1555Converter theFloatingPointToXRGB1555Converter;
FloatingPointToXBGR1555Converter theFloatingPointToXBGR1555Converter;
FloatingPointToFloatingPointConverter theFloatingPointToFloatingPointConverter;

// Indexed by destination code minus one.
PixelConverter* const fromXRGB8888[] = {
    &theXRGB8888ToXRGB8888Converter,      &theXRGB8888ToXBGR8888Converter,
    &theXRGB8888ToRGB888Converter,        &theXRGB8888ToBGR888Converter,
    &theXRGB8888ToRGB565Converter,        &theXRGB8888ToBGR565Converter,
    &theXRGB8888ToXRGB1555Converter,      &theXRGB8888ToXBGR1555Converter,
    &theXRGB8888ToFloatingPointConverter,
};
PixelConverter* const fromFloatingPoint[] = {
    &theFloatingPointToXRGB8888Converter,      &theFloatingPointToXBGR8888Converter,
    &theFloatingPointToRGB888Converter,        &theFloatingPointToBGR888Converter,
    &theFloatingPointToRGB565Converter,        &theFloatingPointToBGR565Converter,
    &theFloatingPointToXRGB1555Converter,      &theFloatingPointToXBGR1555Converter,
    &theFloatingPointToFloatingPointConverter,
};

} // namespace

PixelConverter* lookupConverter(PixelFormat source, PixelFormat destination) {
    PixelConverter* const* table = nullptr;
    if (source == PixelFormat::XRGB8888) {
        table = fromXRGB8888;
    } else if (source == PixelFormat::FloatingPoint) {
        table = fromFloatingPoint;
    } else {
        return nullptr;
    }
    const auto code = static_cast<std::int32_t>(destination);
    if (code < static_cast<std::int32_t>(PixelFormat::XRGB8888) ||
        code > static_cast<std::int32_t>(PixelFormat::FloatingPoint)) {
        return nullptr;
    }
    return table[code - 1];
}

} // namespace duskhall
