// Shows bands of pure red, green and blue and a grey ramp (black at the left to
// white at the right) on Direct3D's four-float surface, as float frames or as
// integer frames (argument "float" or "integer"), until the window closes or a
// minute has passed; the end-to-end check reads the window back. Exits 77 when the
// device refuses the float surface, 1 when no window opens.
#include "display/PlatformScreen.h"
#include "display/win32/Win32Screen.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

using namespace duskhall;

namespace {

constexpr int Width = 320;
constexpr int Height = 240;
constexpr int BandHeight = Height / 4;

// The colour of (x, y) as red, green and blue from 0 to 1.
void bandColour(int x, int y, float rgb[3]) {
    const int band = y / BandHeight;
    for (int channel = 0; channel < 3; ++channel) {
        rgb[channel] = band == channel ? 1.0f : 0.0f;
    }
    if (band == 3) {
        const float grey = static_cast<float>(x) / (Width - 1);
        rgb[0] = rgb[1] = rgb[2] = grey;
    }
}

std::vector<FloatPixel> floatFrame() {
    std::vector<FloatPixel> frame(Width * Height);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            float rgb[3];
            bandColour(x, y, rgb);
            frame[y * Width + x] = FloatPixel{1.0f, rgb[2], rgb[1], rgb[0]};
        }
    }
    return frame;
}

std::vector<PackedPixel> integerFrame() {
    std::vector<PackedPixel> frame(Width * Height);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            float rgb[3];
            bandColour(x, y, rgb);
            PackedPixel pixel = 0xFF000000u;
            for (int channel = 0; channel < 3; ++channel) {
                const auto byte = static_cast<PackedPixel>(rgb[channel] * 255.0f + 0.5f);
                pixel |= byte << (16 - 8 * channel);
            }
            frame[y * Width + x] = pixel;
        }
    }
    return frame;
}

} // namespace

int main(int argc, char** argv) {
    const bool floating = argc > 1 && std::strcmp(argv[1], "float") == 0;
    if (argc < 2 || (!floating && std::strcmp(argv[1], "integer") != 0)) {
        std::fprintf(stderr, "usage: float-surface-colours float|integer\n");
        return 2;
    }
    std::unique_ptr<ScreenCore> created = createPlatformScreen();
    auto* screen = dynamic_cast<Win32Screen*>(created.get());
    if (screen == nullptr || !screen->open("float surface colours", Width, Height,
                                           ScreenMode::Windowed, PixelMode::Float)) {
        std::fprintf(stderr, "float-surface-colours: no window\n");
        return 1;
    }
    const PixelFormat format = screen->output()->format();
    if (format != PixelFormat::FloatingPoint) {
        std::printf("float-surface-colours: the device refused the float surface (format %d)\n",
                    static_cast<int>(format));
        return 77;
    }
    std::printf("float-surface-colours: %s frames on the float surface\n", argv[1]);
    std::fflush(stdout);

    const std::vector<FloatPixel> floats = floatFrame();
    const std::vector<PackedPixel> integers = integerFrame();
    const DWORD start = GetTickCount();
    while (screen->isOpen() && GetTickCount() - start < 60000) {
        if (floating) {
            screen->showFloatFrame(floats.data());
        } else {
            screen->showFrame(integers.data());
        }
        Sleep(16);
    }
    return 0;
}
