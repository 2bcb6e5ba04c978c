#include "convert/ConvertFrame.h"

#include <duskhall/PixelConverter.h>

#include <cstring>

namespace duskhall {

namespace {

// Reverses the four elements of every pixel of a converted row in place: alpha,
// blue, green, red becomes red, green, blue, alpha. The floats are moved, not
// recomputed, so every value stays bit for bit as the converter wrote it.
void reverseFloatElements(unsigned char* row, std::uint32_t width) {
    for (std::uint32_t x = 0; x < width; ++x) {
        unsigned char* pixel = row + static_cast<std::size_t>(x) * 16;
        float elements[4];
        std::memcpy(elements, pixel, sizeof elements);
        const float reversed[4] = {elements[3], elements[2], elements[1], elements[0]};
        std::memcpy(pixel, reversed, sizeof reversed);
    }
}

} // namespace

bool convertFrame(PixelFormat sourceFormat, const void* source, std::ptrdiff_t sourcePitch,
                  PixelFormat destinationFormat, void* destination, std::ptrdiff_t destinationPitch,
                  std::uint32_t width, std::uint32_t height, FloatElementOrder floatOrder) {
    PixelConverter* converter = lookupConverter(sourceFormat, destinationFormat);
    if (converter == nullptr || source == nullptr || destination == nullptr) {
        return false;
    }
    const bool reverse = destinationFormat == PixelFormat::FloatingPoint &&
                         floatOrder == FloatElementOrder::RedGreenBlueAlpha;
    const auto* sourceRow = static_cast<const unsigned char*>(source);
    auto* destinationRow = static_cast<unsigned char*>(destination);
    converter->startRun();
    for (std::uint32_t y = 0; y < height; ++y) {
        converter->convertRun(sourceRow, destinationRow, width);
        if (reverse) {
            reverseFloatElements(destinationRow, width);
        }
        sourceRow += sourcePitch;
        destinationRow += destinationPitch;
    }
    converter->finishRun();
    return true;
}

} // namespace duskhall
