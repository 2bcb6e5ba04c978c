#include "app/RunDemo.h"

#include <duskhall/DisplayError.h>
#include <duskhall/ScreenHandle.h>

#include "app/ApplicationShell.h"
#include "app/ExploreControls.h"
#include "app/ExploreObserver.h"
#include "app/FrameRateTitle.h"
#include "renderer/ExploreSession.h"
#include "renderer/FrameLoop.h"
#include "renderer/Housekeeping.h"
#include "renderer/Level.h"
#include "renderer/MapView.h"
#include "renderer/ScreenSize.h"
#include "renderer/Screenshots.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
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
    if (screenshots.save(pixels, screenWidth, screenHeight, message)) {
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
    Clock::time_point start;
    Clock::time_point last;
};

DemoState* demo = nullptr;

} // namespace

bool startDemo() {
    // Fresh for every run: nothing of an earlier demo (explore mode, the title) carries over.
    static std::optional<DemoState> state;
    demo = &state.emplace();
    // A level file's name joins the title: "duskhall · Hall of pillars".
    demo->windowTitle = levelName().empty() ? title : std::string(title) + " \xC2\xB7 " + levelName();
    demo->frameRate = FrameRateTitle(demo->windowTitle.c_str());
    demo->pixels = openDisplay(demo->windowTitle.c_str(), screenWidth, screenHeight,
                               std::make_unique<ExploreObserver>(demo->controls));
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
    demo->map.emplace(sectors, sectorCount, screenWidth, screenHeight);
    demo->underMap.resize(screenPixels);
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
        std::copy(demo->pixels, demo->pixels + screenPixels, demo->underMap.begin());
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
    freeLevel();
    HKFreeAll();
    closeDisplay();
    return 0;
}

int runDemo() {
    if (!startDemo()) {
        return 1;
    }
    bool running = !displayClosed();
    while (running) {
        running = demoFrame();
    }
    return endDemo();
}
