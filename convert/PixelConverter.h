#pragma once

#include "convert/PixelFormat.h"

#include <cstdint>

// Translates runs of pixels from one format into another. Converters are
// stateless objects with static storage duration, handed out by lookupConverter.
class PixelConverter {
  public:
    virtual ~PixelConverter() = default;
    virtual void startRun() = 0;
    virtual void convertRun(const void* source, void* destination, std::uint32_t count) = 0;
    virtual void finishRun() = 0;
};

class PixelConverterBase : public PixelConverter {
  public:
    void startRun() override {}
    void finishRun() override {}
};

// The converter for (source, destination), or null when the pair is not supported.
// Sources are XRGB8888 and FloatingPoint; destinations are codes 1 to 9.
PixelConverter* lookupConverter(PixelFormat source, PixelFormat destination);
