#include "display/sdl/SdlOutput.h"

#include <duskhall/PixelConverter.h>

#include "convert/ConvertFrame.h"
#include "display/WindowGeometry.h"

#include <algorithm>

namespace duskhall {

std::unique_ptr<SdlOutput> SdlOutput::create(SDL_Window* window, std::int32_t width,
                                             std::int32_t height,
                                             const TextureRestrictions& restrictions, bool vsync) {
    std::unique_ptr<SdlOutput> output(new SdlOutput());
    output->width_ = width;
    output->height_ = height;
    const Uint32 vsyncFlag = vsync ? static_cast<Uint32>(SDL_RENDERER_PRESENTVSYNC) : 0u;
    output->renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | vsyncFlag);
    if (output->renderer_ == nullptr) {
        // No accelerated renderer (a virtual X server, say): draw in software.
        output->renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (output->renderer_ == nullptr) {
        return nullptr;
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(output->renderer_, &info);
    const TextureFormatList candidates =
        textureFormatCandidates(info.texture_formats, static_cast<int>(info.num_texture_formats),
                                restrictions.refused.data(), restrictions.refusedCount);
    const auto failingEnd = restrictions.failing.begin() + restrictions.failingCount;
    for (const TextureFormat& candidate : candidates) {
        if (lookupConverter(PixelFormat::XRGB8888, candidate.format) == nullptr) {
            continue;
        }
        const bool failing =
            std::find(restrictions.failing.begin(), failingEnd, candidate.sdlFormat) != failingEnd;
        output->texture_ = failing ? nullptr
                                   : SDL_CreateTexture(output->renderer_, candidate.sdlFormat,
                                                       SDL_TEXTUREACCESS_STREAMING, width, height);
        if (output->texture_ != nullptr) {
            output->format_ = candidate;
            break;
        }
        if (failing) {
            SDL_SetError("the renderer cannot make a texture of this format");
        }
    }
    if (output->texture_ == nullptr) {
        if (candidates.count == 0) {
            SDL_SetError("no texture format left to try");
        }
        return nullptr;
    }
    // Whole pixels, as a zoom factor should show them.
    SDL_SetTextureScaleMode(output->texture_, SDL_ScaleModeNearest);
    return output;
}

SdlOutput::~SdlOutput() {
    if (texture_ != nullptr) {
        SDL_DestroyTexture(texture_);
    }
    if (renderer_ != nullptr) {
        SDL_DestroyRenderer(renderer_);
    }
}

void SdlOutput::upload(const PackedPixel* pixels, const FloatPixel* floatPixels) {
    const bool packed = pixels != nullptr;
    const void* source = packed ? static_cast<const void*>(pixels) : floatPixels;
    if (source == nullptr) {
        return;
    }
    if (packed && format_.format == PixelFormat::XRGB8888) {
        // The texture holds the frame's own layout: SDL copies it in once, where a
        // lock would have us copy it into SDL's buffer first.
        if (SDL_UpdateTexture(texture_, nullptr, pixels,
                              width_ * static_cast<int>(sizeof(PackedPixel))) == 0) {
            hasFrame_ = true;
        }
        return;
    }
    void* target = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &target, &pitch) != 0) {
        return; // the frame is dropped; the next one tries again
    }
    const std::ptrdiff_t sourcePitch =
        static_cast<std::ptrdiff_t>(width_) *
        static_cast<std::ptrdiff_t>(packed ? sizeof(PackedPixel) : sizeof(FloatPixel));
    const bool converted =
        convertFrame(packed ? PixelFormat::XRGB8888 : PixelFormat::FloatingPoint, source,
                     sourcePitch, format_.format, target, pitch, static_cast<std::uint32_t>(width_),
                     static_cast<std::uint32_t>(height_));
    SDL_UnlockTexture(texture_);
    hasFrame_ = hasFrame_ || converted;
}

void SdlOutput::draw() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    if (!hasFrame_) {
        return;
    }
    WindowSize area;
    if (SDL_GetRendererOutputSize(renderer_, &area.width, &area.height) != 0) {
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        return;
    }
    const WindowRect picture = pictureRect(scaling_, WindowSize{width_, height_}, area);
    const SDL_Rect target{picture.left, picture.top, picture.width(), picture.height()};
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
}

bool SdlOutput::update(const PackedPixel* pixels, const FloatPixel* floatPixels) {
    upload(pixels, floatPixels);
    return present();
}

void SdlOutput::setVsync(bool on) {
    SDL_RenderSetVSync(renderer_, on ? 1 : 0);
}

bool SdlOutput::present() {
    draw();
    SDL_RenderPresent(renderer_);
    return true;
}

} // namespace duskhall
