#include "app/RunDemo.h"

#include <duskhall/DisplayError.h>

#include "app/ApplicationShell.h"
#include "renderer/FrameLoop.h"
#include "renderer/Housekeeping.h"
#include "renderer/Level.h"

#include <cstdio>

int runDemo() {
    PackedPixel* pixels = openDisplay("duskhall", 320, 240);
    if (pixels == nullptr) {
        // Running on without a window would draw nothing and end as if all went well.
        const char* reason = duskhall::displayError();
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
    if (!displayClosed()) {
        do {
            drawFrame();
            updateDisplay();
        } while (!displayClosed());
    }
    freeLevel();
    HKFreeAll();
    closeDisplay();
    return 0;
}
