// Two windows from one program: each prints its own input; the left one has the
// built-in keys off (Escape is an ordinary key there) and lets its close box
// close it only the second time; both run at 30 frames a second with vsync off.
// The program ends when both are closed.
#include <duskhall/duskhall.h>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

class Printer : public duskhall::InputObserver {
  public:
    explicit Printer(const char* name, bool askFirst) : name_(name), askFirst_(askFirst) {}
    void opened(duskhall::Screen&) override { std::printf("%s opened\n", name_); }
    void keyDown(duskhall::Screen&, duskhall::KeyCode key) override {
        std::printf("%s keyDown %d\n", name_, key);
    }
    void keyUp(duskhall::Screen&, duskhall::KeyCode key) override {
        std::printf("%s keyUp %d\n", name_, key);
    }
    void buttonDown(duskhall::Screen&, duskhall::MouseState m) override {
        std::printf("%s buttonDown %.0f %.0f\n", name_, m.x, m.y);
    }
    bool closing(duskhall::Screen&) override {
        const bool agree = !askFirst_ || asked_;
        asked_ = true;
        std::printf("%s closing: %s\n", name_, agree ? "yes" : "not yet");
        std::fflush(stdout);
        return agree;
    }

  private:
    const char* name_;
    bool askFirst_;
    bool asked_ = false;
};

} // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    Printer leftInput("left", true);
    Printer rightInput("right", false);
    duskhall::ScreenHandle left("guide left", 200, 150, duskhall::ScreenMode::Windowed,
                                duskhall::PixelMode::Integer, &leftInput);
    duskhall::ScreenHandle right("guide right", 200, 150, duskhall::ScreenMode::Windowed,
                                 duskhall::PixelMode::Integer, &rightInput);
    if (!left.isOpen() || !right.isOpen()) {
        std::fprintf(stderr, "cannot open: %s\n", duskhall::displayError());
        return 1;
    }
    for (duskhall::ScreenHandle* screen : {&left, &right}) {
        screen->setVsync(false);
        screen->setFrameRate(30);
    }
    left.setBuiltInKeys(false);
    std::printf("vsync %d %d, rate %d %d, built-in keys %d %d\n", left.vsync(), right.vsync(),
                left.frameRate(), right.frameRate(), left.builtInKeys(), right.builtInKeys());

    std::vector<duskhall::PackedPixel> red(200 * 150, 0xFFFF0000u);
    std::vector<duskhall::PackedPixel> blue(200 * 150, 0xFF0000FFu);
    const auto start = std::chrono::steady_clock::now();
    int frames = 0;
    while (left.isOpen() || right.isOpen()) {
        const bool l = left.showFrame(red.data());
        const bool r = right.showFrame(blue.data());
        ++frames;
        if (frames % 60 == 0) {
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::printf("loop %d: %.1f loops a second, left %d right %d\n", frames,
                        frames / seconds, l, r);
        }
    }
    std::printf("both closed after %d loops\n", frames);
    return 0;
}
