#include "convert/ConvertFrame.h"

#include <duskhall/PixelConverter.h>

namespace duskhall {

bool convertFrame(PixelFormat sourceFormat, const void* source, std::ptrdiff_t sourcePitch,
                  PixelFormat destinationFormat, void* destination, std::ptrdiff_t destinationPitch,
                  std::uint32_t width, std::uint32_t height) {
    PixelConverter* converter = lookupConverter(sourceFormat, destinationFormat);
    if (converter == nullptr || source == nullptr || destination == nullptr) {
        return false;
    }
    const auto* sourceRow = static_cast<const unsigned char*>(source);
    auto* destinationRow = static_cast<unsigned char*>(destination);
    converter->startRun();
    for (std::uint32_t y = 0; y < height; ++y) {
        converter->convertRun(sourceRow, destinationRow, width);
        sourceRow += sourcePitch;
        destinationRow += destinationPitch;
    }
    converter->finishRun();
    return true;
}

} // namespace duskhall
