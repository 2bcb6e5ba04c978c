#pragma once

#include "convert/PixelConverter.h"
#include "convert/PixelTypes.h"
#include "display/sdl/TextureFormatProbe.h"

#include <SDL.h>

#include <cstdint>
#include <memory>

// The renderer and streaming texture that show a screen's frames in its window,
// stretched over the whole client area.
class SdlOutput {
  public:
    // Null when no renderer or no texture of a usable format can be made; the
    // reason is then in SDL_GetError.
    static std::unique_ptr<SdlOutput> create(SDL_Window* window, std::int32_t width,
                                             std::int32_t height, const std::uint32_t* refused,
                                             int refusedCount);
    ~SdlOutput();
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    // Converts the frame into the texture row by row; exactly one pointer is set.
    void upload(const PackedPixel* pixels, const FloatPixel* floatPixels);
    // Draws the last uploaded frame (black before the first one) into the back buffer.
    void draw();
    // draw, then shows the back buffer.
    void present();

    SDL_Renderer* renderer() const { return renderer_; }
    const TextureFormat& textureFormat() const { return format_; }

  private:
    SdlOutput() = default;

    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    TextureFormat format_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    bool hasFrame_ = false;
};
