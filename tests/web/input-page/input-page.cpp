// A page for the browser checks: a screen whose observer prints what reaches it,
// one line each, to the console (wheel notches, typed text, keys with the
// modifiers held), and whose I, F and S keys pick the Integer, Fit and Stretch
// scaling of a resizable canvas.
#include <duskhall/duskhall.h>

#include <emscripten/html5.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr std::int32_t width = 160;
constexpr std::int32_t height = 120;

void printModifiers(duskhall::Modifiers held) {
    struct Named {
        std::uint32_t bit;
        const char* name;
    };
    static constexpr Named names[] = {
        {duskhall::Modifiers::LeftShift, "LeftShift"},
        {duskhall::Modifiers::RightShift, "RightShift"},
        {duskhall::Modifiers::LeftControl, "LeftControl"},
        {duskhall::Modifiers::RightControl, "RightControl"},
        {duskhall::Modifiers::LeftAlt, "LeftAlt"},
        {duskhall::Modifiers::RightAlt, "RightAlt"},
    };
    std::printf(" held");
    for (const Named& named : names) {
        if (held.any(named.bit)) {
            std::printf(" %s", named.name);
        }
    }
    std::printf("\n");
}

class Echo : public duskhall::InputObserver {
  public:
    void wheel(duskhall::Screen&, float dx, float dy) override {
        std::printf("wheel %g %g\n", dx, dy);
    }
    void text(duskhall::Screen&, const char* utf8) override { std::printf("text %s\n", utf8); }
    void keyDown(duskhall::Screen& screen, duskhall::KeyCode key) override {
        std::printf("key %d", static_cast<int>(key));
        printModifiers(screen.modifiers());
        if (key == 'I' || key == 'F' || key == 'S') {
            screen.setScaling(key == 'I'   ? duskhall::Scaling::Integer
                              : key == 'S' ? duskhall::Scaling::Stretch
                                           : duskhall::Scaling::Fit);
            std::printf("scaling %c\n", static_cast<char>(key));
        }
    }
    void resized(duskhall::Screen&, std::int32_t w, std::int32_t h) override {
        std::printf("resized %ld x %ld\n", static_cast<long>(w), static_cast<long>(h));
    }
};

// Quarters of four colours, so that the checks can find the picture's edges.
std::vector<duskhall::PackedPixel> quarters() {
    std::vector<duskhall::PackedPixel> pixels(static_cast<std::size_t>(width * height));
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool lower = y >= height / 2;
            pixels[static_cast<std::size_t>(y * width + x)] =
                lower ? (right ? 0xFFFFFF00u : 0xFF0000FFu) : (right ? 0xFF00FF00u : 0xFFFF0000u);
        }
    }
    return pixels;
}

Echo echo;
duskhall::ScreenHandle* screen = nullptr; // lives as long as the page
std::vector<duskhall::PackedPixel> picture = quarters();

EM_BOOL animationFrame(double, void*) {
    return screen->showFrame(picture.data()) ? EM_TRUE : EM_FALSE;
}

} // namespace

int main() {
    screen = new duskhall::ScreenHandle("input page", width, height,
                                        duskhall::ScreenMode::Windowed,
                                        duskhall::PixelMode::Integer, &echo);
    if (!screen->isOpen() || !screen->setResizable(true)) {
        std::printf("cannot open: %s\n", duskhall::displayError());
        return 1;
    }
    std::printf("ready\n");
    emscripten_request_animation_frame_loop(animationFrame, nullptr);
    return 0;
}
