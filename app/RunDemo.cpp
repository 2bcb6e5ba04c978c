#include "app/RunDemo.h"

#include "display/DisplayError.h"
#include "app/ApplicationShell.h"
#include "renderer/FrameLoop.h"
#include "renderer/Housekeeping.h"
#include "renderer/Level.h"

#include <cstdio>

bool startDemo() {
    PackedPixel* pixels = openDisplay("duskhall", 320, 240);
    if (pixels == nullptr) {
        // Running on without a window would draw nothing and end as if all went well.
        const char* reason = displayError();
        if (reason[0] != '\0') {
            std::fprintf(stderr, "duskhall: cannot open a window: %s\n", reason);
        } else {
            std::fprintf(stderr, "duskhall: cannot open a window\n");
        }
        closeDisplay();
        return false;
    }
    buildLevel();
    prepareFrames(pixels);
    return true;
}

bool demoFrame() {
    drawFrame();
    updateDisplay();
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
