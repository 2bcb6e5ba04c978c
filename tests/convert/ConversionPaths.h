#pragma once

#include <duskhall/PixelFormat.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using namespace duskhall;

// One way of running a conversion: through the converter that lookupConverter hands out, or
// straight through one instruction-set build of the conversion templates (the SSE2 baseline and
// the one-pixel form), which on this machine the converters might not pick themselves.
struct ConversionPath {
    std::string name;
    PixelFormat source;
    PixelFormat destination;
    std::function<void(const void*, void*, std::uint32_t)> run;
};

// Every converter (18), then the baseline and one-pixel builds of the 16 converting pairs.
const std::vector<ConversionPath>& conversionPaths();

// The subset converting from `source`.
std::vector<ConversionPath> conversionPathsFrom(PixelFormat source);
