#pragma once

#include "convert/PixelTypes.h"

#include <cstdint>
#include <memory>
#include <vector>

// Shows a screen's frames in its canvas through WebGL. Each frame is converted
// once into RGBA byte order (the XBGR8888 layout); the fragment shader takes the
// colour and ignores the fourth byte, which that layout leaves zero, so the
// picture is opaque without a second pass over the pixels. The canvas's own
// pixels are the framebuffer's; the page scales the element crisply.
class WebOutput {
  public:
    // Null when the canvas gives no WebGL context.
    static std::unique_ptr<WebOutput> create(const char* canvas, std::int32_t width,
                                             std::int32_t height);
    ~WebOutput();
    WebOutput(const WebOutput&) = delete;
    WebOutput& operator=(const WebOutput&) = delete;

    // Converts the frame; exactly one pointer is set.
    void upload(const PackedPixel* pixels, const FloatPixel* floatPixels);
    // Draws the last uploaded frame (black before the first one).
    void present();

  private:
    WebOutput() = default;

    const char* canvas_ = "";
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::vector<unsigned char> bytes_; // width x height pixels, 4 bytes each
    bool hasFrame_ = false;
};
