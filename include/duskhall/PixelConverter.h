#pragma once

#include <duskhall/PixelFormat.h>

#include <cstdint>

namespace duskhall {

/// Translates runs of pixels from one format into another. Converters are
/// stateless objects owned by the library and shared by everyone: get one from
/// lookupConverter, never create or delete one. Converting disjoint buffers from
/// several threads at once is safe.
class PixelConverter {
  public:
    virtual ~PixelConverter() = default;
    /// Call once before a picture's runs and once after; both do nothing today.
    virtual void startRun() = 0;
    /// Reads count pixels from source and writes count pixels, packed without
    /// gaps, to destination (a 24-bit format advances 3 bytes a pixel). The two
    /// must not overlap. Rows are up to the caller: one call per row.
    virtual void convertRun(const void* source, void* destination, std::uint32_t count) = 0;
    /// Ends a picture's runs (see startRun).
    virtual void finishRun() = 0;
};

/// The converter for (source, destination), or null when the pair is not supported.
/// Sources are XRGB8888 and FloatingPoint; destinations are codes 1 to 9.
PixelConverter* lookupConverter(PixelFormat source, PixelFormat destination);

} // namespace duskhall
