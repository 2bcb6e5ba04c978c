#include "app/RunDemo.h"

#include "app/ApplicationShell.h"
#include "app/ExploreControls.h"
#include "app/ExploreObserver.h"
#include "app/FrameRateTitle.h"
#include "display/DisplayError.h"
#include "renderer/ExploreSession.h"
#include "renderer/FrameLoop.h"
#include "renderer/Housekeeping.h"
#include "renderer/Level.h"
#include "renderer/ScreenSize.h"
#include "renderer/Screenshots.h"

#include <chrono>
#include <cstdio>
#include <string>

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

} // namespace

int runDemo() {
    ExploreControls controls;
    PackedPixel* pixels =
        openDisplay(title, screenWidth, screenHeight, std::make_unique<ExploreObserver>(controls));
    if (pixels == nullptr) {
        // Running on without a window would draw nothing and end as if all went well.
        const char* reason = displayError();
        if (reason[0] != '\0') {
            std::fprintf(stderr, "duskhall: cannot open a window: %s\n", reason);
        } else {
            std::fprintf(stderr, "duskhall: cannot open a window\n");
        }
        closeDisplay();
        return 1;
    }
    buildLevel();
    prepareFrames(pixels);
    ExploreSession session;
    FrameRateTitle frameRate(title);
    Screenshots screenshots;
    const Clock::time_point start = Clock::now();
    Clock::time_point last = start;
    if (!displayClosed()) {
        do {
            // Explore mode walks on the real clock; the animation keeps its fixed step.
            const Clock::time_point now = Clock::now();
            const float elapsed = std::chrono::duration<float>(now - last).count();
            last = now;
            const ExploreControls::FrameInput input = controls.takeFrameInput(keyHeld);
            if (input.toggleExplore) {
                session.toggle();
            }
            session.drawFrame(input.move, elapsed);
            for (int i = 0; i < input.screenshots; ++i) {
                saveScreenshot(screenshots, pixels);
            }
            if (input.toggleFrameRate) {
                frameRate.toggle(secondsSince(start, now));
                setDisplayTitle(frameRate.title());
            }
            updateDisplay();
            if (frameRate.frameShown(secondsSince(start, Clock::now()))) {
                setDisplayTitle(frameRate.title());
            }
        } while (!displayClosed());
    }
    freeLevel();
    HKFreeAll();
    closeDisplay();
    return 0;
}
