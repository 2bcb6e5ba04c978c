#include <duskhall/WarningBox.h>

#include "app/FrameSizeArgument.h"
#include "app/InstalledTextures.h"
#include "app/RunDemo.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char* help =
    "usage: duskhall [--level FILE] [--size WxH] [--sharp] [--help] [--version]\n"
    "\n"
    "Shows the duskhall rooms in a window, from the scripted camera or walking\n"
    "them yourself. Reads the seven textures from the working folder, or, when it\n"
    "has none, from where the program is installed (share/duskhall/textures beside\n"
    "its bin folder on Linux, its own folder on Windows).\n"
    "\n"
    "  --level FILE     show the level FILE (see docs/levels.md) instead of the\n"
    "                   built-in rooms; a file that cannot be drawn ends the\n"
    "                   program with status 2 and a line saying why; what it allows\n"
    "                   but was likely not meant is said on standard error (a vertex\n"
    "                   on another room's edge, overlapping rooms, an opening the\n"
    "                   heights close), and the level is shown; FILE.wad:MAP (or\n"
    "                   FILE.wad, its first map) opens a map of a Doom-format WAD\n"
    "                   without a word on what its import left out or replaced\n"
    "                   (duskhall-render lists it), a bare name such as freedoom2.wad\n"
    "                   also looked for in DOOMWADDIR, DOOMWADPATH and\n"
    "                   /usr/share/games/doom\n"
    "  --size WxH       draw frames of W x H pixels (160x120 to 3840x2160) in a\n"
    "                   window of that size instead of 320 x 240; a size out of\n"
    "                   range ends the program with status 2\n"
    "  --sharp          start in sharp mode: a resizable window, every frame drawn\n"
    "                   at the window's own size\n"
    "\n"
    "  Tab              explore mode on or off\n"
    "  W / Up, S / Down walk forward, back (explore mode)\n"
    "  A, D             step left, right (explore mode)\n"
    "  Left, Right      turn (explore mode)\n"
    "  Space            use the line ahead: open a door, press a switch (explore\n"
    "                   mode; locked doors open without keys)\n"
    "  click, then move the mouse\n"
    "                   look around with the mouse held (explore mode); the\n"
    "                   first Escape or Tab lets go of it\n"
    "  F12              save the frame as duskhall-0001.png, duskhall-0002.png, ...\n"
    "  F                frame rate in the title on or off\n"
    "  M                the map of the level over the picture, on or off\n"
    "  P                pixel art (the frame size above, scaled to the window) or\n"
    "                   sharp (drawn at the window's size)\n"
    "  Alt+Enter        windowed or fullscreen\n"
    "  Escape           end (so does the window's close box)\n"
    "\n"
    "Window commands: on Windows entries of the window's system menu, on Linux and\n"
    "in the browser these keys, each only while the menu would offer it:\n"
    "  Ctrl+1           original size (320 x 240)\n"
    "  Ctrl+2, Ctrl+4, Ctrl+8  2x, 4x, 8x zoom, while it fits on the screen\n"
    "  Ctrl+F           fullscreen when windowed, windowed when fullscreen\n"
    "  Ctrl+C           centre the window, once it has been moved\n";

// Only these two are answered; every other argument but --level, --size and
// --sharp is ignored, as it always was.
bool answerQuestion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(help, stdout);
            return true;
        }
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("duskhall %s\n", DUSKHALL_VERSION);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (answerQuestion(argc, argv)) {
        return 0;
    }
    // The one fatal message (a missing texture) is shown in a box on top of the window.
    setFatalMessagePresenter(duskhall::showWarningBox);
    useInstalledTextures();
    DemoSettings settings;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--sharp") == 0) {
            settings.sharp = true;
        } else if (std::strcmp(argv[i], "--size") == 0) {
            std::string error;
            if (i + 1 >= argc) {
                std::fprintf(stderr, "duskhall: --size needs a size, like 1920x1080\n");
                return 2;
            }
            if (!parseFrameSize(argv[++i], settings.width, settings.height, error)) {
                std::fprintf(stderr, "duskhall: %s\n", error.c_str());
                return 2;
            }
        }
    }
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--level") == 0) {
            // Checked and built before any window opens.
            if (std::string error; !loadLevel(argv[i + 1], error)) {
                std::fprintf(stderr, "duskhall: %s\n", error.c_str());
                HKFreeAll();
                return 2;
            }
            if (levelWarningsSaidOnLoad()) {
                levelWarnings().print(stderr, std::string("duskhall: ") + argv[i + 1] + ": ");
            }
            break;
        }
    }
    return runDemo(settings);
}
