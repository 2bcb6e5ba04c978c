#pragma once

#include <duskhall/PixelFormat.h>

#include <array>
#include <cstdint>

namespace duskhall {

// One streaming-texture format we can fill: SDL's code and our converter's format.
struct TextureFormat {
    std::uint32_t sdlFormat = 0;
    PixelFormat format = PixelFormat::NoFormat;
};

// SDL's streaming-texture code for a device format; SDL_PIXELFORMAT_UNKNOWN when
// SDL has none.
std::uint32_t sdlTextureFormat(PixelFormat format);

// The integer device formats in the order every output prefers them.
const std::array<TextureFormat, 5>& textureProbeOrder();

struct TextureFormatList {
    std::array<TextureFormat, 5> formats{};
    int count = 0;
    const TextureFormat* begin() const { return formats.data(); }
    const TextureFormat* end() const { return formats.data() + count; }
};

// The formats to try, best first: those of the probe order the renderer offers,
// or, when it offers none of them, the whole probe order (SDL then converts
// itself). Refused formats are never tried.
TextureFormatList textureFormatCandidates(const std::uint32_t* offered, int offeredCount,
                                          const std::uint32_t* refused, int refusedCount);

} // namespace duskhall
