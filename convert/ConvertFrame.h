#pragma once

#include <duskhall/PixelFormat.h>

#include <cstddef>
#include <cstdint>

namespace duskhall {

// Converts a width x height frame row by row through lookupConverter: rows of
// source are sourcePitch bytes apart, rows of destination destinationPitch bytes
// apart (a locked surface's pitch may exceed its row). Converts nothing and
// returns false when the pair has no converter or a pointer is null.
bool convertFrame(PixelFormat sourceFormat, const void* source, std::ptrdiff_t sourcePitch,
                  PixelFormat destinationFormat, void* destination, std::ptrdiff_t destinationPitch,
                  std::uint32_t width, std::uint32_t height);

} // namespace duskhall
