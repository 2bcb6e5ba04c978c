// Shows a PNG file of any size in a window the user can resize. I, F and S pick
// how the picture fills the window: Integer (whole multiples, crisp pixels), Fit
// (the largest size of its shape, the default) and Stretch (the whole window).
// A picture larger than the desktop opens in a smaller window, scaled down.
// Escape or the close box ends it. Each new window size is printed.
//   image-viewer picture.png
#include <duskhall/duskhall.h>

#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct Image {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<duskhall::PackedPixel> pixels; // 0xAARRGGBB, row by row
};

// Reads any PNG as 8-bit BGRA (one 0xAARRGGBB word a pixel on a little-endian
// machine), then lays transparent parts over black.
bool loadPng(const char* path, Image& image) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&png, path) == 0) {
        std::fprintf(stderr, "image-viewer: %s: %s\n", path, png.message);
        return false;
    }
    png.format = PNG_FORMAT_BGRA;
    image.width = static_cast<std::int32_t>(png.width);
    image.height = static_cast<std::int32_t>(png.height);
    image.pixels.resize(static_cast<std::size_t>(png.width) * png.height);
    if (png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr) == 0) {
        std::fprintf(stderr, "image-viewer: %s: %s\n", path, png.message);
        return false;
    }
    for (duskhall::PackedPixel& pixel : image.pixels) {
        const std::uint32_t alpha = pixel >> 24;
        const auto channel = [&](int shift) {
            return ((pixel >> shift & 0xFF) * alpha / 255) << shift;
        };
        pixel = channel(16) | channel(8) | channel(0);
    }
    return true;
}

class ViewerInput : public duskhall::InputObserver {
  public:
    void keyDown(duskhall::Screen& screen, duskhall::KeyCode key) override {
        const char* name = nullptr;
        if (key == 'I') {
            screen.setScaling(duskhall::Scaling::Integer);
            name = "integer";
        } else if (key == 'F') {
            screen.setScaling(duskhall::Scaling::Fit);
            name = "fit";
        } else if (key == 'S') {
            screen.setScaling(duskhall::Scaling::Stretch);
            name = "stretch";
        }
        if (name != nullptr) {
            std::printf("scaling %s\n", name);
            std::fflush(stdout);
        }
    }
    void resized(duskhall::Screen&, std::int32_t width, std::int32_t height) override {
        std::printf("resized %d x %d\n", static_cast<int>(width), static_cast<int>(height));
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: image-viewer picture.png\n");
        return 2;
    }
    Image image;
    if (!loadPng(argv[1], image)) {
        return 1;
    }
    ViewerInput input;
    duskhall::ScreenHandle screen("duskhall image viewer", image.width, image.height,
                                  duskhall::ScreenMode::Windowed, duskhall::PixelMode::Integer,
                                  &input);
    if (!screen.isOpen()) {
        std::fprintf(stderr, "image-viewer: cannot open a window: %s\n", duskhall::displayError());
        return 1;
    }
    // The window stays hidden until the first frame: a picture too large for the
    // desktop gets a window of three quarters of it, and is scaled into it.
    const duskhall::Size desktop = screen.desktopSize();
    if (image.width > desktop.width * 3 / 4 || image.height > desktop.height * 3 / 4) {
        const double shrink =
            std::min(desktop.width * 0.75 / image.width, desktop.height * 0.75 / image.height);
        const auto width = static_cast<std::int32_t>(image.width * shrink);
        const auto height = static_cast<std::int32_t>(image.height * shrink);
        if (!screen.open("duskhall image viewer", width > 0 ? width : 1, height > 0 ? height : 1,
                         duskhall::ScreenMode::Windowed, duskhall::PixelMode::Integer) ||
            !screen.setFrameSize(image.width, image.height)) {
            std::fprintf(stderr, "image-viewer: %s\n", duskhall::displayError());
            return 1;
        }
    }
    screen.setResizable(true);
    screen.setFrameRate(30); // nothing moves: no need to wait for every refresh
    while (screen.showFrame(image.pixels.data())) {
    }
    return 0;
}
