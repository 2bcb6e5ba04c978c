// An animated pattern in a 320 x 240 window. The mouse pointer lights up a spot
// (a bigger one while the left button is held), Space swaps the two colour ramps,
// Escape or the window's close box ends the program with status 0.
#include <duskhall/duskhall.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr std::int32_t width = 320;
constexpr std::int32_t height = 240;

// Input arrives inside showFrame; the observer only records it for the next frame.
class PatternInput : public duskhall::InputObserver {
  public:
    bool swapped = false;
    duskhall::MouseState mouse;
    bool mouseSeen = false;

    void keyDown(duskhall::Screen&, duskhall::KeyCode key) override {
        if (key == duskhall::KeySpace) {
            swapped = !swapped;
        }
    }
    void pointerMoved(duskhall::Screen&, duskhall::MouseState state) override { record(state); }
    void buttonDown(duskhall::Screen&, duskhall::MouseState state) override { record(state); }
    void buttonUp(duskhall::Screen&, duskhall::MouseState state) override { record(state); }

  private:
    void record(duskhall::MouseState state) {
        mouse = state;
        mouseSeen = true;
    }
};

// Green and blue are ramps across and down the window (swapped by Space); red
// moves with the frame count.
duskhall::PackedPixel patternPixel(std::int32_t x, std::int32_t y, std::uint32_t frame,
                                   bool swapped) {
    const std::uint32_t across = static_cast<std::uint32_t>(x * 255 / (width - 1));
    const std::uint32_t down = static_cast<std::uint32_t>(y * 255 / (height - 1));
    const std::uint32_t red = (static_cast<std::uint32_t>(x ^ y) + frame) & 0xFF;
    const std::uint32_t green = swapped ? down : across;
    const std::uint32_t blue = swapped ? across : down;
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

void drawFrame(std::vector<duskhall::PackedPixel>& pixels, std::uint32_t frame,
               const PatternInput& input) {
    const float radius = input.mouse.left ? 24.0f : 12.0f;
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const float dx = static_cast<float>(x) - input.mouse.x;
            const float dy = static_cast<float>(y) - input.mouse.y;
            const bool lit = input.mouseSeen && dx * dx + dy * dy <= radius * radius;
            pixels[static_cast<std::size_t>(y * width + x)] =
                lit ? 0xFFFFFFFFu : patternPixel(x, y, frame, input.swapped);
        }
    }
}

} // namespace

int main() {
    // Installed before the window opens, so it sees opened and every event.
    PatternInput input;
    duskhall::ScreenHandle screen("duskhall pattern", width, height, duskhall::ScreenMode::Windowed,
                                  duskhall::PixelMode::Integer, &input);
    if (!screen.isOpen()) {
        std::fprintf(stderr, "pattern: cannot open a window: %s\n", duskhall::displayError());
        return 1;
    }
    // showFrame waits for the display's refresh (vsync); the frame rate keeps the
    // pace where the display has none to wait for, a virtual X server say.
    screen.setFrameRate(60);

    std::vector<duskhall::PackedPixel> pixels(static_cast<std::size_t>(width * height));
    std::uint32_t frame = 0;
    drawFrame(pixels, frame, input);
    // False once the screen has closed (Escape, the close box).
    while (screen.showFrame(pixels.data())) {
        drawFrame(pixels, ++frame, input);
    }
    return 0;
}
