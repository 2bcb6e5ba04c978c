// The demo as a web page. The page passes its query on as arguments:
//   --textures DIR    the seven textures from DIR instead of the bundled ones
//   --crc F1,F2,...   no picture: draws frames 1, 2, 3, ... at once and prints
//                     the CRC line of each frame named, then stops
//   --frames N        the demo stops advancing after frame N and keeps showing it
//   --level FILE      the level FILE instead of the built-in one; for a WAD
//                     (FILE.wad or FILE.wad:MAP) the page is told its maps
//   --size WxH        frames of W x H pixels, the canvas that size
//   --sharp           frames at the canvas's own size as it changes
// The frames are drawn by the same code as everywhere; only their pace comes from
// the browser, whose animation-frame callback runs one frame at a time.

#include "app/ApplicationShell.h"
#include "app/FrameList.h"
#include "app/FrameSizeArgument.h"
#include "app/RunDemo.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/level/wad/WadFile.h"
#include "renderer/level/wad/WadLevel.h"
#include "renderer/level/wad/WadMap.h"
#include "renderer/output/FrameCrc.h"
#include <duskhall/DisplayError.h>
#include <duskhall/WarningBox.h>

#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

// clang-format off
EM_JS(void, duskhallPageState, (const char* state, const char* text), {
    const set = Module['setPageState'];
    if (set) {
        set(UTF8ToString(state), UTF8ToString(text));
    }
});
EM_JS(void, duskhallPageMaps, (const char* names), {
    const set = Module['setPageMaps'];
    if (set) {
        set(UTF8ToString(names));
    }
});
// clang-format on

namespace {

constexpr const char* bundledTextures = "/textures";
// Enough frames per turn to finish 6566 in seconds, few enough to keep the page
// answering between turns.
constexpr long long crcFramesPerTurn = 200;

struct Options {
    std::string textureDir = bundledTextures;
    std::string levelPath;
    std::vector<long long> crcFrames;
    long long holdAfter = 0; // 0: run until the display closes
    DemoSettings demo;
    std::string sizeError;
};

bool parseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--sharp") {
            options.demo.sharp = true;
            continue;
        }
        if (i + 1 >= argc) {
            return false;
        }
        const std::string value = argv[++i];
        if (arg == "--textures") {
            options.textureDir = value;
        } else if (arg == "--crc") {
            if (!parseFrameList(value, options.crcFrames)) {
                return false;
            }
        } else if (arg == "--level") {
            options.levelPath = value;
        } else if (arg == "--size") {
            if (!parseFrameSize(value, options.demo.width, options.demo.height,
                                options.sizeError)) {
                return false;
            }
        } else if (arg == "--frames") {
            if (!parseFrameCount(value, options.holdAfter)) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

Options options;

struct CrcRun {
    std::vector<PackedPixel> pixels;
    long long last = 0;
    long long frame = 0;
};
CrcRun crcRun;

void crcTurn(void*) {
    const long long stop = std::min(crcRun.last, crcRun.frame + crcFramesPerTurn);
    while (crcRun.frame < stop) {
        ++crcRun.frame;
        drawFrame();
        if (std::find(options.crcFrames.begin(), options.crcFrames.end(), crcRun.frame) !=
            options.crcFrames.end()) {
            std::fputs(
                frameCrcLine(crcRun.frame, frameCrc(crcRun.pixels.data(), crcRun.pixels.size()))
                    .text,
                stdout);
        }
    }
    std::fflush(stdout);
    if (crcRun.frame < crcRun.last) {
        emscripten_async_call(crcTurn, nullptr, 0);
        return;
    }
    freeLevel();
    HKFreeAll();
    duskhallPageState("done", "");
}

void startCrcRun() {
    // Like the demo's framebuffer: all zero at the start and never cleared.
    resizeFrames(options.demo.width, options.demo.height);
    crcRun.pixels.assign(static_cast<std::size_t>(options.demo.width) *
                             static_cast<std::size_t>(options.demo.height),
                         0);
    crcRun.last = *std::max_element(options.crcFrames.begin(), options.crcFrames.end());
    if (sectors == nullptr) { // a level file may be built already
        buildLevel();
    }
    prepareFrames(crcRun.pixels.data());
    duskhallPageState("counting", "");
    emscripten_async_call(crcTurn, nullptr, 0);
}

// The maps of the WAD the level comes from, one a line, for the page's picker;
// a file that cannot be read offers none, and loading it says why.
void offerWadMaps(const std::string& argument) {
    WadFile wad;
    std::string error;
    std::string names;
    if (wad.open(wadLevelFile(argument), error)) {
        for (const std::string& name : wadMapNames(wad)) {
            names += name + "\n";
        }
    }
    duskhallPageMaps(names.c_str());
}

long long framesDrawn = 0;

EM_BOOL animationFrame(double, void*) {
    if (options.holdAfter == 0 || framesDrawn < options.holdAfter) {
        demoFrame();
        ++framesDrawn;
        if (framesDrawn == options.holdAfter) {
            duskhallPageState("holding", "");
        }
    } else {
        // Still a live screen: keys are handled and the picture shown again.
        updateDisplay();
    }
    if (displayClosed()) {
        endDemo();
        duskhallPageState("ended", "The demo has ended. Reload the page to start it again.");
        return EM_FALSE;
    }
    return EM_TRUE;
}

} // namespace

// For the page's checks: whether the application's observer has seen the key go down.
extern "C" EMSCRIPTEN_KEEPALIVE int duskhallKeyPressed(int key) {
    return keyPressed[key & 0xFF];
}

int main(int argc, char** argv) {
    if (!parseArguments(argc, argv, options)) {
        if (!options.sizeError.empty()) {
            duskhallPageState(
                "error",
                ("The page's query is not understood: the " + options.sizeError + ".").c_str());
        } else {
            duskhallPageState("error",
                              "The page's query is not understood: crc takes frame numbers "
                              "like 1,2,100, frames one number from 1 and size WIDTHxHEIGHT.");
        }
        return 2;
    }
    if (chdir(options.textureDir.c_str()) != 0) {
        duskhallPageState("error", "The texture folder cannot be entered.");
        return 1;
    }
    // A missing texture ends the program with the Housekeeping message in the page.
    setFatalMessagePresenter(duskhall::showWarningBox);
    if (isWadLevelArgument(options.levelPath)) {
        offerWadMaps(options.levelPath);
    }
    if (!options.levelPath.empty()) {
        // Checked and built before the picture starts; a refusal is the page's message.
        if (std::string error; !loadLevel(options.levelPath, error)) {
            std::fprintf(stderr, "duskhall: %s\n", error.c_str());
            duskhallPageState("error", ("The level cannot be shown: " + error).c_str());
            HKFreeAll();
            return 2;
        }
        // The browser's console shows them.
        if (levelWarningsSaidOnLoad()) {
            levelWarnings().print(stderr, "duskhall: " + options.levelPath + ": ");
        }
    }
    if (!options.crcFrames.empty()) {
        startCrcRun();
        return 0;
    }
    if (!startDemo(options.demo)) {
        const std::string text =
            std::string("The demo cannot show its picture: ") +
            (duskhall::displayError()[0] != '\0' ? duskhall::displayError() : "no reason given");
        duskhallPageState("error", text.c_str());
        return 1;
    }
    duskhallPageState("running", "");
    emscripten_request_animation_frame_loop(animationFrame, nullptr);
    return 0;
}
