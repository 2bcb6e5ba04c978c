#pragma once

#include <duskhall/PixelTypes.h>

#include "display/ScreenOutput.h"
#include "display/sdl/TextureFormatProbe.h"

#include <SDL.h>

#include <array>
#include <cstdint>
#include <memory>

namespace duskhall {
// Texture formats a screen is told to do without, as a renderer lacking them
// would: refused ones are never tried, failing ones are tried and not created.
struct TextureRestrictions {
    std::array<std::uint32_t, 5> refused{};
    int refusedCount = 0;
    std::array<std::uint32_t, 5> failing{};
    int failingCount = 0;
};

// The renderer and streaming texture that show a screen's frames in its window,
// placed in the client area by the scaling rule (pictureRect), black around.
class SdlOutput : public ScreenOutput {
  public:
    // vsync: presenting waits for the display's refresh.
    // Null when no renderer or no texture of a usable format can be made; the
    // reason is then in SDL_GetError. A format whose texture cannot be created
    // gives way to the next one.
    static std::unique_ptr<SdlOutput> create(SDL_Window* window, std::int32_t width,
                                             std::int32_t height,
                                             const TextureRestrictions& restrictions, bool vsync);
    ~SdlOutput() override;
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    // Converts the frame into the texture; exactly one pointer is set.
    void upload(const PackedPixel* pixels, const FloatPixel* floatPixels);
    // Draws the last uploaded frame (black before the first one) into the back buffer.
    void draw();

    bool usable() override { return true; }
    // upload, then present.
    bool update(const PackedPixel* pixels, const FloatPixel* floatPixels) override;
    // draw, then shows the back buffer.
    bool present() override;
    void setVsync(bool on) override;
    void setScaling(Scaling scaling) override { scaling_ = scaling; }

    SDL_Renderer* renderer() const { return renderer_; }
    const TextureFormat& textureFormat() const { return format_; }

  private:
    SdlOutput() = default;

    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    TextureFormat format_;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    Scaling scaling_ = Scaling::Fit;
    bool hasFrame_ = false;
};

} // namespace duskhall
