#pragma once

#include <duskhall/PixelFormat.h>

#include "convert/FloatElementOrder.h"

#include <cstddef>
#include <cstdint>

namespace duskhall {

// Converts a width x height frame row by row through lookupConverter: rows of
// source are sourcePitch bytes apart, rows of destination destinationPitch bytes
// apart (a locked surface's pitch may exceed its row). Converts nothing and
// returns false when the pair has no converter or a pointer is null. A FloatingPoint
// destination gets its pixels in floatOrder, each row reordered right after it is
// converted.
bool convertFrame(PixelFormat sourceFormat, const void* source, std::ptrdiff_t sourcePitch,
                  PixelFormat destinationFormat, void* destination, std::ptrdiff_t destinationPitch,
                  std::uint32_t width, std::uint32_t height,
                  FloatElementOrder floatOrder = FloatElementOrder::AlphaBlueGreenRed);

} // namespace duskhall
