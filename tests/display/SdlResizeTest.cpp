#include <duskhall/DisplayError.h>
#include <duskhall/ScreenHandle.h>

#include "XWindowProbe.h"

#include "display/sdl/SdlScreen.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

using namespace duskhall;

namespace {

class SizeObserver : public InputObserver {
  public:
    void resized(Screen&, std::int32_t width, std::int32_t height) override {
        sizes.push_back(std::to_string(width) + "x" + std::to_string(height));
    }
    void pointerMoved(Screen&, MouseState mouse) override { mice.push_back(mouse); }
    std::vector<std::string> sizes;
    std::vector<MouseState> mice;
};

// The colour at (x, y) of the window, as the X server shows it.
std::uint32_t shownPixel(XWindowProbe& probe, unsigned long window, int x, int y) {
    int width = 0;
    int height = 0;
    const std::vector<std::uint32_t> pixels = probe.capture(window, width, height);
    if (x >= width || y >= height) {
        return 0xDEADBEEF;
    }
    return pixels[static_cast<std::size_t>(y * width + x)] & 0xFFFFFF;
}

// A user drags the edge (xdotool resizes the X window): the program is told the
// new client size once; the frame keeps its shape, black bars beside it.
TEST(SdlResize, AnOutsideResizeIsToldOnceAndTheFrameKeepsItsShape) {
    XWindowProbe probe;
    ASSERT_TRUE(probe.connected());
    if (std::system("command -v xdotool >/dev/null") != 0) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    SizeObserver observer;
    auto core = std::make_unique<SdlScreen>();
    SdlScreen* const sdl = core.get();
    ScreenHandle screen(std::move(core), "duskhall resize", 320, 240, ScreenMode::Windowed,
                        PixelMode::Integer);
    ASSERT_TRUE(screen.isOpen()) << displayError();
    screen.setObserver(&observer);
    ASSERT_TRUE(screen.setResizable(true));
    const std::vector<PackedPixel> white(320 * 240, 0xFFFFFF);
    screen.showFrame(white.data());
    const unsigned long window = probe.waitForWindow("duskhall resize", 10000);
    ASSERT_NE(window, 0ul);

    const std::string command = "xdotool windowsize " + std::to_string(window) + " 640 300";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (int frames = 0; frames < 500 && observer.sizes.empty(); ++frames) {
        screen.showFrame(white.data());
        SDL_Delay(10);
    }
    for (int frames = 0; frames < 5; ++frames) {
        screen.showFrame(white.data());
    }
    EXPECT_EQ(observer.sizes, (std::vector<std::string>{"640x300"}));

    // Fit: 400 x 300 in the middle.
    EXPECT_EQ(shownPixel(probe, window, 119, 150), 0u);
    EXPECT_EQ(shownPixel(probe, window, 120, 150), 0xFFFFFFu);
    EXPECT_EQ(shownPixel(probe, window, 519, 299), 0xFFFFFFu);
    EXPECT_EQ(shownPixel(probe, window, 520, 150), 0u);

    // The pointer over the bar is left of the frame, in frame pixels.
    SDL_Event motion{};
    motion.motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = sdl->window()->id();
    motion.motion.x = 100;
    motion.motion.y = 150;
    SDL_PushEvent(&motion);
    screen.showFrame(white.data());
    ASSERT_FALSE(observer.mice.empty());
    EXPECT_EQ(observer.mice.back().x, -16.0f); // (100 - 120) x 320 / 400
    EXPECT_EQ(observer.mice.back().y, 120.0f);
}

// The window's place as SDL last heard it, after up to the given frames.
SDL_Point placeAfterFrames(ScreenHandle& screen, SDL_Window* window, const PackedPixel* frame,
                           SDL_Point awaited, int frames) {
    SDL_Point place{-1, -1};
    for (int shown = 0; shown < frames; ++shown) {
        screen.showFrame(frame);
        SDL_GetWindowPosition(window, &place.x, &place.y);
        if (place.x == awaited.x && place.y == awaited.y) {
            break;
        }
        SDL_Delay(10);
    }
    return place;
}

// A user (or the window manager) moves the window; a new frame size keeps it there.
TEST(SdlResize, AWindowMovedFromOutsideStaysWhereItIsThroughANewFrameSize) {
    XWindowProbe probe;
    ASSERT_TRUE(probe.connected());
    if (std::system("command -v xdotool >/dev/null") != 0) {
        GTEST_SKIP() << "xdotool is not installed";
    }
    auto core = std::make_unique<SdlScreen>();
    SdlScreen* const sdl = core.get();
    ScreenHandle screen(std::move(core), "duskhall place", 320, 240, ScreenMode::Windowed,
                        PixelMode::Integer);
    ASSERT_TRUE(screen.isOpen()) << displayError();
    const std::vector<PackedPixel> small(320 * 240, 0xFFFFFF);
    const std::vector<PackedPixel> large(400 * 300, 0xFFFFFF);
    screen.showFrame(small.data());
    const unsigned long window = probe.waitForWindow("duskhall place", 10000);
    ASSERT_NE(window, 0ul);
    SDL_Window* const sdlWindow = sdl->window()->handle();

    const std::string command = "xdotool windowmove " + std::to_string(window) + " 100 150";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const SDL_Point moved{100, 150};
    SDL_Point place = placeAfterFrames(screen, sdlWindow, small.data(), moved, 500);
    ASSERT_EQ(place.x * 10000 + place.y, 100 * 10000 + 150) << "the move never arrived";

    ASSERT_TRUE(screen.setFrameSize(400, 300));
    // Enough frames for a move back to have arrived.
    place = placeAfterFrames(screen, sdlWindow, large.data(), SDL_Point{-1, -1}, 30);
    EXPECT_EQ(place.x * 10000 + place.y, 100 * 10000 + 150);
}

} // namespace
