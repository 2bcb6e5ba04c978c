#include "display/sdl/TextureFormatProbe.h"

#include <SDL.h>

#include <algorithm>

namespace {

bool listed(std::uint32_t format, const std::uint32_t* list, int count) {
    return list != nullptr && count > 0 && std::find(list, list + count, format) != list + count;
}

} // namespace

const std::array<TextureFormat, 5>& textureProbeOrder() {
    static const std::array<TextureFormat, 5> order = {{
        {SDL_PIXELFORMAT_XRGB8888, PixelFormat::XRGB8888},
        {SDL_PIXELFORMAT_XBGR8888, PixelFormat::XBGR8888},
        {SDL_PIXELFORMAT_RGB24, PixelFormat::RGB888},
        {SDL_PIXELFORMAT_RGB565, PixelFormat::RGB565},
        {SDL_PIXELFORMAT_XRGB1555, PixelFormat::XRGB1555},
    }};
    return order;
}

TextureFormatList textureFormatCandidates(const std::uint32_t* offered, int offeredCount,
                                          const std::uint32_t* refused, int refusedCount) {
    TextureFormatList list;
    for (const TextureFormat& candidate : textureProbeOrder()) {
        if (listed(candidate.sdlFormat, offered, offeredCount) &&
            !listed(candidate.sdlFormat, refused, refusedCount)) {
            list.formats[static_cast<std::size_t>(list.count++)] = candidate;
        }
    }
    if (list.count == 0) {
        for (const TextureFormat& candidate : textureProbeOrder()) {
            if (!listed(candidate.sdlFormat, refused, refusedCount)) {
                list.formats[static_cast<std::size_t>(list.count++)] = candidate;
            }
        }
    }
    return list;
}
