#include "display/sdl/TextureFormatProbe.h"

#include "convert/FormatPreference.h"

#include <SDL.h>

#include <algorithm>

namespace duskhall {

namespace {

bool listed(std::uint32_t format, const std::uint32_t* list, int count) {
    return list != nullptr && count > 0 && std::find(list, list + count, format) != list + count;
}

} // namespace

std::uint32_t sdlTextureFormat(PixelFormat format) {
    switch (format) {
    case PixelFormat::XRGB8888:
        return SDL_PIXELFORMAT_XRGB8888;
    case PixelFormat::XBGR8888:
        return SDL_PIXELFORMAT_XBGR8888;
    case PixelFormat::RGB888:
        return SDL_PIXELFORMAT_RGB24;
    case PixelFormat::RGB565:
        return SDL_PIXELFORMAT_RGB565;
    case PixelFormat::XRGB1555:
        return SDL_PIXELFORMAT_XRGB1555;
    default:
        return SDL_PIXELFORMAT_UNKNOWN;
    }
}

const std::array<TextureFormat, 5>& textureProbeOrder() {
    static_assert(formatPreference.size() - integerPreferenceStart == 5,
                  "one texture format for each integer device format");
    static const std::array<TextureFormat, 5> order = [] {
        std::array<TextureFormat, 5> formats{};
        for (std::size_t i = 0; i < formats.size(); ++i) {
            const PixelFormat format = formatPreference[integerPreferenceStart + i];
            formats[i] = TextureFormat{sdlTextureFormat(format), format};
        }
        return formats;
    }();
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

} // namespace duskhall
