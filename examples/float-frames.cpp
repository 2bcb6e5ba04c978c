// Float frames: each pixel is four floats (alpha, blue, green, red) from 0 to 1,
// shown through showFloatFrame. Red grows across the window, green down it, and
// blue pulses. Escape or the close box ends it with status 0.
#include <duskhall/duskhall.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <thread>
#include <vector>

int main() {
    constexpr std::int32_t width = 320;
    constexpr std::int32_t height = 240;
    // PixelMode::Float: on Windows the frames go to Direct3D's four-float surface
    // where the device has one; elsewhere they are converted to what the device shows.
    duskhall::ScreenHandle screen("duskhall float frames", width, height,
                                  duskhall::ScreenMode::Windowed, duskhall::PixelMode::Float);
    if (!screen.isOpen()) {
        std::fprintf(stderr, "float-frames: cannot open a window: %s\n", duskhall::displayError());
        return 1;
    }

    std::vector<duskhall::FloatPixel> pixels(static_cast<std::size_t>(width * height));
    for (std::uint32_t frame = 0; screen.isOpen(); ++frame) {
        const float pulse = 0.5f + 0.5f * std::sin(static_cast<float>(frame) * 0.05f);
        for (std::int32_t y = 0; y < height; ++y) {
            for (std::int32_t x = 0; x < width; ++x) {
                duskhall::FloatPixel& pixel = pixels[static_cast<std::size_t>(y * width + x)];
                pixel.alpha = 1.0f;
                pixel.red = static_cast<float>(x) / (width - 1);
                pixel.green = static_cast<float>(y) / (height - 1);
                pixel.blue = pulse;
            }
        }
        screen.showFloatFrame(pixels.data());
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
    }
    return 0;
}
