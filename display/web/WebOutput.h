#pragma once

#include <duskhall/PixelTypes.h>
#include "display/ScreenOutput.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace duskhall {

// Shows a screen's frames in its canvas through WebGL. Each frame is converted
// once into RGBA byte order (the XBGR8888 layout); the fragment shader takes the
// colour and ignores the fourth byte, which that layout leaves zero, so the
// picture is opaque without a second pass over the pixels. The canvas's own
// pixels are the framebuffer's; the page scales the element crisply.
class WebOutput : public ScreenOutput {
  public:
    // Null when the canvas gives no WebGL context.
    static std::unique_ptr<WebOutput> create(const char* canvas, std::int32_t width,
                                             std::int32_t height);
    ~WebOutput() override;
    WebOutput(const WebOutput&) = delete;
    WebOutput& operator=(const WebOutput&) = delete;

    bool usable() override { return true; }
    // Converts the frame (exactly one pointer is set), then presents it.
    bool update(const PackedPixel* pixels, const FloatPixel* floatPixels) override;
    // Draws the last converted frame (black before the first one).
    bool present() override;

  private:
    WebOutput() = default;

    const char* canvas_ = "";
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::vector<unsigned char> bytes_; // width x height pixels, 4 bytes each
    bool hasFrame_ = false;
};

} // namespace duskhall
