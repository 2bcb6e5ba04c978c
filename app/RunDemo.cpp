#include "app/RunDemo.h"

#include <duskhall/DisplayError.h>
#include <duskhall/ScreenHandle.h>

#include "app/ApplicationShell.h"
#include "app/ExploreControls.h"
#include "app/ExploreObserver.h"
#include "app/FrameRateTitle.h"
#include "renderer/camera/ExploreSession.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/draw/ScreenSize.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/output/MapView.h"
#include "renderer/output/Screenshots.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* title = "duskhall";

double secondsSince(Clock::time_point start, Clock::time_point now) {
    return std::chrono::duration<double>(now - start).count();
}

// F12: a failure is reported and the demo goes on.
void saveScreenshot(Screenshots& screenshots, const PackedPixel* pixels) {
    std::string message;
    if (screenshots.save(pixels, frameGeometry.width, frameGeometry.height, message)) {
        std::printf("duskhall: saved %s\n", message.c_str());
        std::fflush(stdout);
    } else {
        std::fprintf(stderr, "duskhall: cannot save the frame: %s\n", message.c_str());
    }
}

// What the demo keeps from one frame to the next.
struct DemoState {
    PackedPixel* pixels = nullptr;
    ExploreControls controls;
    ExploreSession session;
    FrameRateTitle frameRate{title};
    Screenshots screenshots;
    std::string windowTitle;
    std::optional<MapView> map;
    bool showMap = false;
    // The frame under the map: the next frame draws over it, and rows it leaves
    // open must keep the picture, not the map.
    std::vector<PackedPixel> underMap;
    // Sharp mode draws at the window's size; pixel art at the frame size asked for.
    bool sharp = false;
    DemoSettings settings;
    ClientAreaSize window;  // as the screen last reported it
    ClientAreaSize refused; // the last frame size the display refused, not asked for again
    Clock::time_point start;
    Clock::time_point last;
};

DemoState* demo = nullptr;

std::size_t pixelCount() {
    return static_cast<std::size_t>(frameGeometry.width) *
           static_cast<std::size_t>(frameGeometry.height);
}

// Frames larger than the animation's own are drawn on every core; the page has
// one thread only.
std::int32_t drawingThreads() {
#if defined(__EMSCRIPTEN__)
    return 1;
#else
    const bool large = pixelCount() > static_cast<std::size_t>(screenPixels);
    return large ? static_cast<std::int32_t>(std::max(1u, std::thread::hardware_concurrency())) : 1;
#endif
}

// The buffers and threads that follow the frame size: set here, between frames,
// never in one.
void fitBuffersToFrame() {
    demo->map.emplace(sectors, sectorCount, frameGeometry.width, frameGeometry.height);
    demo->underMap.assign(pixelCount(), 0);
    setFrameThreads(drawingThreads());
}

// The nearest size the renderer draws.
ClientAreaSize drawableSize(ClientAreaSize size) {
    return {std::clamp(size.width, minFrameWidth, maxFrameWidth),
            std::clamp(size.height, minFrameHeight, maxFrameHeight)};
}

// Later frames at the given size, when the display takes it; otherwise they stay
// as they are.
bool switchFrameSize(ClientAreaSize size) {
    if (size.width == frameGeometry.width && size.height == frameGeometry.height) {
        return true;
    }
    if (size.width == demo->refused.width && size.height == demo->refused.height) {
        return false;
    }
    PackedPixel* pixels = resizeDisplayFrame(size.width, size.height);
    if (pixels == nullptr) {
        demo->refused = size;
        return false;
    }
    demo->pixels = pixels;
    resizeFrames(size.width, size.height);
    setFramebuffer(pixels);
    fitBuffersToFrame();
    return true;
}

// The frame size the mode asks for: the window's in sharp mode, once the screen has
// said how large the window is; the settings' otherwise.
void followWindow(bool toggled) {
    if (toggled) {
        demo->sharp = !demo->sharp;
    }
    const ClientAreaSize wanted = demo->sharp
                                      ? drawableSize(demo->window)
                                      : ClientAreaSize{demo->settings.width, demo->settings.height};
    if (!switchFrameSize(wanted) && toggled) {
        std::fprintf(stderr,
                     "duskhall: the display cannot change its frame size; staying at %dx%d\n",
                     static_cast<int>(frameGeometry.width), static_cast<int>(frameGeometry.height));
    }
}

} // namespace

bool startDemo(const DemoSettings& settings) {
    // Fresh for every run: nothing of an earlier demo (explore mode, the title) carries over.
    static std::optional<DemoState> state;
    demo = &state.emplace();
    // A level file's name joins the title: "duskhall · Hall of pillars".
    demo->windowTitle =
        levelName().empty() ? title : std::string(title) + " \xC2\xB7 " + levelName();
    demo->frameRate = FrameRateTitle(demo->windowTitle.c_str());
    if (!frameSizeAllowed(settings.width, settings.height)) {
        std::fprintf(stderr, "duskhall: frames of %dx%d are not drawn\n",
                     static_cast<int>(settings.width), static_cast<int>(settings.height));
        return false;
    }
    demo->settings = settings;
    demo->sharp = settings.sharp;
    // The window opens at the frame's size, until the screen reports another.
    demo->window = {settings.width, settings.height};
    demo->pixels = openDisplay(demo->windowTitle.c_str(), settings.width, settings.height,
                               std::make_unique<ExploreObserver>(demo->controls, &demo->window));
    if (demo->pixels == nullptr) {
        // Running on without a window would draw nothing and end as if all went well.
        const char* reason = duskhall::displayError();
        if (reason[0] != '\0') {
            std::fprintf(stderr, "duskhall: cannot open a window: %s\n", reason);
        } else {
            std::fprintf(stderr, "duskhall: cannot open a window\n");
        }
        closeDisplay();
        return false;
    }
    if (sectors == nullptr) { // a level file may be built already
        buildLevel();
    }
    resizeFrames(settings.width, settings.height);
    fitBuffersToFrame();
    if (settings.sharp && !setDisplayResizable(true)) {
        std::fprintf(stderr, "duskhall: the window cannot be resized here: %s\n",
                     duskhall::displayError());
    }
    prepareFrames(demo->pixels);
    demo->start = Clock::now();
    demo->last = demo->start;
    return true;
}

bool demoFrame() {
    // Explore mode walks on the real clock; the animation keeps its fixed step.
    const Clock::time_point now = Clock::now();
    const float elapsed = std::chrono::duration<float>(now - demo->last).count();
    demo->last = now;
    const ExploreControls::FrameInput input = demo->controls.takeFrameInput(keyHeld);
    if (input.toggleSharp || demo->sharp) {
        followWindow(input.toggleSharp);
    }
    if (input.toggleExplore) {
        demo->session.toggle();
    }
    demo->controls.setExploring(demo->session.active());
    duskhall::ScreenHandle* display = shellDisplay();
    if (!demo->controls.exploring() && display != nullptr && display->isOpen() &&
        display->relativeMouse()) {
        display->setRelativeMouse(false); // looking around ends with explore mode
    }
    demo->session.drawFrame(input.move, elapsed);
    for (int i = 0; i < input.screenshots; ++i) {
        saveScreenshot(demo->screenshots, demo->pixels);
    }
    if (input.toggleMap) {
        demo->showMap = !demo->showMap;
    }
    if (demo->showMap) {
        std::copy(demo->pixels, demo->pixels + pixelCount(), demo->underMap.begin());
        demo->map->draw(demo->pixels, {cameraPos.x, cameraPos.y, demo->session.viewAngle()}, true);
    }
    if (input.toggleFrameRate) {
        demo->frameRate.toggle(secondsSince(demo->start, now));
        setDisplayTitle(demo->frameRate.title());
    }
    updateDisplay();
    if (demo->showMap) {
        std::copy(demo->underMap.begin(), demo->underMap.end(), demo->pixels);
    }
    if (demo->frameRate.frameShown(secondsSince(demo->start, Clock::now()))) {
        setDisplayTitle(demo->frameRate.title());
    }
    return !displayClosed();
}

int endDemo() {
    setFrameThreads(1);
    freeLevel();
    HKFreeAll();
    closeDisplay();
    return 0;
}

int runDemo(const DemoSettings& settings) {
    if (!startDemo(settings)) {
        return 1;
    }
    bool running = !displayClosed();
    while (running) {
        running = demoFrame();
    }
    return endDemo();
}
