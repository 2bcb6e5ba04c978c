#include "display/sdl/SdlOutput.h"

std::unique_ptr<SdlOutput> SdlOutput::create(SDL_Window* window, std::int32_t width,
                                             std::int32_t height, const std::uint32_t* refused,
                                             int refusedCount) {
    std::unique_ptr<SdlOutput> output(new SdlOutput());
    output->width_ = width;
    output->height_ = height;
    output->renderer_ =
        SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (output->renderer_ == nullptr) {
        // No accelerated renderer (a virtual X server, say): draw in software.
        output->renderer_ = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (output->renderer_ == nullptr) {
        return nullptr;
    }
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(output->renderer_, &info);
    const TextureFormatList candidates = textureFormatCandidates(
        info.texture_formats, static_cast<int>(info.num_texture_formats), refused, refusedCount);
    for (const TextureFormat& candidate : candidates) {
        if (lookupConverter(PixelFormat::XRGB8888, candidate.format) == nullptr) {
            continue;
        }
        output->texture_ = SDL_CreateTexture(output->renderer_, candidate.sdlFormat,
                                             SDL_TEXTUREACCESS_STREAMING, width, height);
        if (output->texture_ != nullptr) {
            output->format_ = candidate;
            break;
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
    PixelConverter* converter = lookupConverter(
        packed ? PixelFormat::XRGB8888 : PixelFormat::FloatingPoint, format_.format);
    if (converter == nullptr || (pixels == nullptr && floatPixels == nullptr)) {
        return;
    }
    void* target = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &target, &pitch) != 0) {
        return; // the frame is dropped; the next one tries again
    }
    auto* row = static_cast<unsigned char*>(target);
    const auto width = static_cast<std::uint32_t>(width_);
    converter->startRun();
    for (std::int32_t y = 0; y < height_; ++y) {
        const std::size_t offset = static_cast<std::size_t>(y) * width;
        const void* source = packed ? static_cast<const void*>(pixels + offset)
                                    : static_cast<const void*>(floatPixels + offset);
        converter->convertRun(source, row, width);
        row += pitch;
    }
    converter->finishRun();
    SDL_UnlockTexture(texture_);
    hasFrame_ = true;
}

void SdlOutput::draw() {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    if (hasFrame_) {
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    }
}

void SdlOutput::present() {
    draw();
    SDL_RenderPresent(renderer_);
}
