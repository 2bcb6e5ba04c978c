// A paint program: the left button draws, the wheel makes the brush larger or
// smaller, the modifiers held pick the colour (none white, Shift red, Control
// green, Alt blue, mixed when several are held, Super black to rub out), and
// what you type becomes the window's title (Backspace takes a character back).
// Escape ends it. It prints what it receives, one line each.
#include <duskhall/duskhall.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int width = 320;
constexpr int height = 240;

duskhall::PackedPixel colourFor(duskhall::Modifiers held) {
    if (held.super()) {
        return 0xFF000000u;
    }
    if (!held.shift() && !held.control() && !held.alt()) {
        return 0xFFFFFFFFu;
    }
    return 0xFF000000u | (held.shift() ? 0xFF0000u : 0u) | (held.control() ? 0x00FF00u : 0u) |
           (held.alt() ? 0x0000FFu : 0u);
}

const char* modifierNames(duskhall::Modifiers held) {
    static char names[40];
    std::snprintf(names, sizeof names, "%s%s%s%s", held.shift() ? " shift" : "",
                  held.control() ? " control" : "", held.alt() ? " alt" : "",
                  held.super() ? " super" : "");
    return names[0] != '\0' ? names + 1 : "none";
}

class Paint : public duskhall::InputObserver {
  public:
    explicit Paint(std::vector<duskhall::PackedPixel>& canvas) : canvas_(canvas) {}

    void buttonDown(duskhall::Screen& screen, duskhall::MouseState mouse) override {
        if (mouse.left) {
            colour_ = colourFor(screen.modifiers());
            std::printf("draw %.0f %.0f brush %d colour %06x\n", mouse.x, mouse.y, brush_,
                        colour_ & 0xFFFFFFu);
            dab(mouse.x, mouse.y);
        }
    }
    void pointerMoved(duskhall::Screen&, duskhall::MouseState mouse) override {
        if (!mouse.left) {
            return;
        }
        // A dab every pixel along the move, so a quick stroke has no gaps.
        const float length = std::hypot(mouse.dx, mouse.dy);
        const int steps = static_cast<int>(length) + 1;
        for (int i = 1; i <= steps; ++i) {
            const float along = static_cast<float>(i) / static_cast<float>(steps);
            dab(mouse.x - mouse.dx * (1.0f - along), mouse.y - mouse.dy * (1.0f - along));
        }
    }
    void wheel(duskhall::Screen&, float, float dy) override {
        brush_ += dy > 0.0f ? 1 : (dy < 0.0f ? -1 : 0);
        brush_ = brush_ < 1 ? 1 : (brush_ > 40 ? 40 : brush_);
        std::printf("wheel %g brush %d\n", dy, brush_);
    }
    void text(duskhall::Screen& screen, const char* utf8) override {
        title_ += utf8;
        screen.setTitle(title_.c_str());
        std::printf("text %s title %s\n", utf8, title_.c_str());
    }
    void keyDown(duskhall::Screen& screen, duskhall::KeyCode key) override {
        if (key == 8 && !title_.empty()) {
            // Back over the last character's continuation bytes to its first one.
            std::size_t end = title_.size() - 1;
            while (end > 0 && (static_cast<unsigned char>(title_[end]) & 0xC0) == 0x80) {
                --end;
            }
            title_.erase(end);
            screen.setTitle(title_.empty() ? "duskhall paint" : title_.c_str());
        }
    }

  private:
    void dab(float centreX, float centreY) {
        const int r = brush_;
        for (int y = static_cast<int>(centreY) - r; y <= static_cast<int>(centreY) + r; ++y) {
            for (int x = static_cast<int>(centreX) - r; x <= static_cast<int>(centreX) + r; ++x) {
                const float ox = static_cast<float>(x) - centreX;
                const float oy = static_cast<float>(y) - centreY;
                if (x >= 0 && y >= 0 && x < width && y < height &&
                    ox * ox + oy * oy <= static_cast<float>(r * r)) {
                    canvas_[static_cast<std::size_t>(y * width + x)] = colour_;
                }
            }
        }
    }

    std::vector<duskhall::PackedPixel>& canvas_;
    std::string title_;
    int brush_ = 4;
    duskhall::PackedPixel colour_ = 0xFFFFFFFFu;
};

} // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::vector<duskhall::PackedPixel> canvas(width * height, 0xFF203040u);
    Paint paint(canvas);
    duskhall::ScreenHandle screen("duskhall paint", width, height, duskhall::ScreenMode::Windowed,
                                  duskhall::PixelMode::Integer, &paint);
    if (!screen.isOpen()) {
        std::fprintf(stderr, "cannot open: %s\n", duskhall::displayError());
        return 1;
    }
    duskhall::Modifiers shown;
    while (screen.showFrame(canvas.data())) {
        // The modifiers as they change, so whoever drives the program knows when
        // a held key has arrived.
        const duskhall::Modifiers held = screen.modifiers();
        if (held != shown) {
            std::printf("modifiers %s\n", modifierNames(held));
            shown = held;
        }
    }
    return 0;
}
