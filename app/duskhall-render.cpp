// Renders the demo's frames without a window: CRC-32 lines, PNG files, camera
// traces and a frame rate, drawn by exactly the code the demo runs; scripted walks
// replay explore mode.

#include "app/FrameList.h"
#include "app/FrameSizeArgument.h"
#include "app/InstalledTextures.h"
#include "app/LevelExport.h"
#include "app/WadMapList.h"
#include "renderer/camera/ExploreSession.h"
#include "renderer/camera/WalkScript.h"
#include "renderer/draw/FrameBatch.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/level/LevelMovers.h"
#include "renderer/level/wad/WadLevel.h"
#include "renderer/output/FrameCrc.h"
#include "renderer/output/FramePng.h"
#include "renderer/output/MapView.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr const char* usage =
    "usage: duskhall-render [--level FILE] [--textures DIR] [--size WxH] "
    "[--frames N] "
    "[--crc F1,F2,...] [--png F:FILE]... [--walk FILE] [--trace] "
    "[--map FILE] [--start X,Y,ANGLE] [--warnings] "
    "[--bench] [--threads N] [--maps FILE.wad] [--export DIR] [--help] [--version]";
constexpr const char* help =
    "Renders the frames of the duskhall animation without a window.\n"
    "\n"
    "  --level FILE     draw the level FILE (see docs/levels.md) instead of the\n"
    "                   built-in one; its camera stands at the level's start unless\n"
    "                   the level asks for the scripted camera or --walk moves it;\n"
    "                   FILE.wad:MAP (or FILE.wad, its first map) opens a map of a\n"
    "                   Doom-format WAD, a bare name looked for as --maps says\n"
    "  --textures DIR   read the seven textures from DIR (default: the working folder)\n"
    "  --size WxH       draw frames of W x H pixels (160x120 to 3840x2160; default\n"
    "                   320x240, the animation's own): the same view, 90 degrees\n"
    "                   across, at that size; CRCs are over its W x H pixels\n"
    "  --frames N       draw N frames (default: the last frame named by --crc, --png\n"
    "                   or the walk)\n"
    "  --crc F1,F2,...  print \"frame F crc32 XXXXXXXX\" for each frame named\n"
    "  --png F:FILE     write frame F to FILE as a PNG (may be repeated)\n"
    "  --walk FILE      walk explore mode's camera from frame 1, one line of FILE per\n"
    "                   stretch: a frame count and the keys held (forward, back,\n"
    "                   strafe-left, strafe-right, turn-left, turn-right, use: the\n"
    "                   use key, Space in explore mode; locked doors open without\n"
    "                   keys); 1/60 s a frame\n"
    "  --trace          print \"frame N sector S x X y Y z Z floor F ceiling C angle A\"\n"
    "                   for every frame (eye position, its sector's floor and ceiling,\n"
    "                   view angle in radians), then \"movers H1 H2 ...\" in a level\n"
    "                   with doors or lifts: each one's moving ceiling or floor\n"
    "  --map FILE       write the level seen from above to FILE as a PNG (640 x 480,\n"
    "                   or the --size given): solid walls light, portals orange, the\n"
    "                   eye red with the edges of its view green, where the last frame\n"
    "                   drawn put it, over a grid of whole units (the lines through 0\n"
    "                   brighter) with each sector's number at its middle\n"
    "  --start X,Y,ANGLE\n"
    "                   stand the eye at (X, Y) looking along ANGLE radians instead of\n"
    "                   the level's start (and instead of the scripted camera), for\n"
    "                   pictures and walks; checked as a level's start is\n"
    "  --warnings       print what the level allows but was likely not meant (a\n"
    "                   vertex on another room's edge, overlapping rooms, an opening\n"
    "                   the heights close) on standard output and end without drawing;\n"
    "                   without it a level file's go to standard error as it loads\n"
    "                   (a WAD map's, what its import left out or replaced, only\n"
    "                   with --warnings)\n"
    "  --bench          print the frame rate of the drawing (default 1000 frames)\n"
    "  --threads N      draw on N threads (default: one per core; 1 draws on the main\n"
    "                   thread alone): whole frames side by side, or each frame's\n"
    "                   columns with --walk or --trace\n"
    "  --maps FILE.wad  print one line per map of the WAD (name, sectors, lines,\n"
    "                   things) and end; a bare name such as freedoom2.wad is also\n"
    "                   looked for in DOOMWADDIR, DOOMWADPATH and /usr/share/games/doom\n"
    "  --export DIR     with --level FILE.wad:MAP: write the map as DIR/MAP.json and\n"
    "                   the PNG of each texture it uses beside it, and end\n"
    "  --help           print this text and end\n"
    "  --version        print the version and end\n"
    "\n"
    "Bad arguments (a size out of range among them), malformed walk files and level\n"
    "files that cannot be drawn, and WAD files that cannot be read, end with status 2.\n";
constexpr long long defaultBenchFrames = 1000;
constexpr std::int32_t mapWidth = 640;
constexpr std::int32_t mapHeight = 480;
constexpr long long maxThreads = 64;
constexpr float walkFrameSeconds = 1.0f / 60.0f; // a fixed clock makes a walk replayable

struct PngRequest {
    long long frame;
    std::string path;
};

struct Options {
    std::string levelPath;
    std::string textureDir;
    long long frames = 0; // 0: the largest frame named
    std::vector<long long> crcFrames;
    std::vector<PngRequest> pngs;
    std::string walkPath;
    std::string mapPath;
    std::string wadMapsPath;  // --maps: list the WAD's maps instead of drawing
    std::string exportFolder; // --export: write the WAD map as a level file instead
    std::int32_t width = screenWidth;
    std::int32_t height = screenHeight;
    bool sized = false; // --size given: the map is drawn at it too
    std::string error;  // why the arguments were refused, when there is more to say than usage
    bool trace = false;
    bool bench = false;
    bool warnings = false;
    bool placed = false; // --start given
    float startX = 0.0f;
    float startY = 0.0f;
    float startAngle = 0.0f;
    std::string startText;
    long long threads = std::max(1u, std::thread::hardware_concurrency()); // 1: no helpers
};

bool parsePng(const std::string& text, std::vector<PngRequest>& pngs) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon + 1 == text.size()) {
        return false;
    }
    PngRequest request;
    if (!parseFrameCount(text.substr(0, colon), request.frame)) {
        return false;
    }
    request.path = text.substr(colon + 1);
    pngs.push_back(request);
    return true;
}

// "X,Y,ANGLE": three finite numbers, nothing else.
bool parseStart(const std::string& text, Options& options) {
    float* const parts[] = {&options.startX, &options.startY, &options.startAngle};
    const char* at = text.c_str();
    for (std::size_t i = 0; i < 3; ++i) {
        char* end = nullptr;
        const float value = std::strtof(at, &end);
        if (end == at || !std::isfinite(value) || std::fabs(value) > 32768.0f ||
            *end != (i < 2 ? ',' : '\0')) {
            options.error = "--start " + text + ": must be X,Y,ANGLE, three numbers";
            return false;
        }
        *parts[i] = value;
        at = end + 1;
    }
    options.placed = true;
    options.startText = text;
    return true;
}

bool parseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--bench") {
            options.bench = true;
        } else if (arg == "--start" && hasValue) {
            if (!parseStart(argv[++i], options)) {
                return false;
            }
        } else if (arg == "--warnings") {
            options.warnings = true;
        } else if (arg == "--trace") {
            options.trace = true;
        } else if (arg == "--map" && hasValue) {
            options.mapPath = argv[++i];
        } else if (arg == "--maps" && hasValue) {
            options.wadMapsPath = argv[++i];
        } else if (arg == "--export" && hasValue) {
            options.exportFolder = argv[++i];
        } else if (arg == "--level" && hasValue) {
            options.levelPath = argv[++i];
        } else if (arg == "--walk" && hasValue) {
            options.walkPath = argv[++i];
        } else if (arg == "--textures" && hasValue) {
            options.textureDir = argv[++i];
        } else if (arg == "--size" && hasValue) {
            options.sized = true;
            if (!parseFrameSize(argv[++i], options.width, options.height, options.error)) {
                return false;
            }
        } else if (arg == "--frames" && hasValue) {
            if (!parseFrameCount(argv[++i], options.frames)) {
                return false;
            }
        } else if (arg == "--crc" && hasValue) {
            if (!parseFrameList(argv[++i], options.crcFrames)) {
                return false;
            }
        } else if (arg == "--threads" && hasValue) {
            if (!parseFrameCount(argv[++i], options.threads) || options.threads > maxThreads) {
                return false;
            }
        } else if (arg == "--png" && hasValue) {
            if (!parsePng(argv[++i], options.pngs)) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

// Without --frames, as many frames as the last one asked for or the walk's length.
bool settleFrameCount(Options& options, long long walkFrames) {
    long long largest = 0;
    for (long long frame : options.crcFrames) {
        largest = std::max(largest, frame);
    }
    for (const PngRequest& png : options.pngs) {
        largest = std::max(largest, png.frame);
    }
    if (options.frames == 0) {
        const long long wanted = std::max(largest, walkFrames);
        options.frames = wanted == 0 && options.bench ? defaultBenchFrames : wanted;
        if (options.frames == 0 && !options.mapPath.empty()) {
            options.frames = 1; // the plan shows the eye of a frame
        }
    }
    return largest <= options.frames;
}

// Output paths are taken relative to where the tool was started, before the
// working directory moves to the textures.
bool anchorPath(std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        return false;
    }
    path = absolute.string();
    return true;
}

bool anchorOutputPaths(Options& options) {
    for (PngRequest& png : options.pngs) {
        if (!anchorPath(png.path)) {
            return false;
        }
    }
    return options.mapPath.empty() || anchorPath(options.mapPath);
}

// --help and --version answer whatever else is on the line.
bool answerQuestion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("%s\n\n%s", usage, help);
            return true;
        }
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("duskhall-render %s\n", DUSKHALL_VERSION);
            return true;
        }
    }
    return false;
}

// The walk is read before the working directory moves to the textures.
bool loadWalk(const std::string& path, WalkScript& walk) {
    std::ifstream file(path);
    std::string error;
    if (!file) {
        error = "cannot be opened";
    } else if (walk.parse(file, error)) {
        return true;
    }
    std::fprintf(stderr, "duskhall-render: %s: %s\n", path.c_str(), error.c_str());
    return false;
}

bool writeMap(const std::string& path, const ExploreSession& session, std::int32_t width,
              std::int32_t height) {
    std::vector<PackedPixel> plan(static_cast<std::size_t>(width) * height);
    const MapView map(sectors, sectorCount, width, height);
    map.drawPlan(plan.data(), {cameraPos.x, cameraPos.y, session.viewAngle()});
    if (writeFramePng(path.c_str(), plan.data(), width, height)) {
        return true;
    }
    std::fprintf(stderr, "duskhall-render: cannot write %s\n", path.c_str());
    return false;
}

void printTrace(long long frame, const ExploreSession& session) {
    const Sector& sector = sectors[cameraSector];
    std::printf("frame %lld sector %d x %.6f y %.6f z %.6f floor %.6f ceiling %.6f angle %.6f",
                frame, static_cast<int>(cameraSector), cameraPos.x, cameraPos.y, cameraPos.z,
                sector.floorHeight, sector.ceilingHeight, session.viewAngle());
    if (!levelMovers.movers.empty()) {
        std::fputs(" movers", stdout);
        for (const Mover& mover : levelMovers.movers) {
            std::printf(" %.6f", mover.height);
        }
    }
    std::fputc('\n', stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (answerQuestion(argc, argv)) {
        return 0;
    }
    Options options;
    if (!parseArguments(argc, argv, options)) {
        if (!options.error.empty()) {
            std::fprintf(stderr, "duskhall-render: %s\n", options.error.c_str());
        } else {
            std::fprintf(stderr, "%s\n", usage);
        }
        return 2;
    }
    if (!options.wadMapsPath.empty()) {
        return listWadMaps(options.wadMapsPath);
    }
    if (!options.exportFolder.empty()) {
        return exportWadLevel(options.levelPath, options.exportFolder);
    }
    WalkScript walk;
    if (!options.walkPath.empty() && !loadWalk(options.walkPath, walk)) {
        return 2;
    }
    if (!settleFrameCount(options, walk.frames())) {
        std::fprintf(stderr, "%s\n", usage);
        return 2;
    }
    if (!anchorOutputPaths(options)) {
        std::fprintf(stderr, "duskhall-render: cannot resolve the PNG paths\n");
        return 1;
    }
    // Messages name the level as it was given; it is opened from where the tool started.
    std::string levelFile = options.levelPath;
    if (std::string error; isWadLevelArgument(levelFile) && !findWadLevel(levelFile, error)) {
        std::fprintf(stderr, "duskhall-render: %s\n", error.c_str());
        return 2;
    }
    if (!levelFile.empty() && !anchorPath(levelFile)) {
        std::fprintf(stderr, "duskhall-render: cannot resolve %s\n", options.levelPath.c_str());
        return 2;
    }
    if (!options.textureDir.empty()) {
        std::error_code error;
        std::filesystem::current_path(options.textureDir, error);
        if (error) {
            std::fprintf(stderr, "duskhall-render: cannot enter %s\n", options.textureDir.c_str());
            return 1;
        }
    }

    useInstalledTextures();
    resizeFrames(options.width, options.height);
    const std::size_t framePixels =
        static_cast<std::size_t>(options.width) * static_cast<std::size_t>(options.height);
    // Like the demo's framebuffer: all zero at the start and never cleared.
    std::vector<PackedPixel> pixels(framePixels, 0);
    if (levelFile.empty()) {
        buildLevel();
    } else if (std::string error; !loadLevel(levelFile, error)) {
        if (error.compare(0, levelFile.size(), levelFile) == 0) {
            error.replace(0, levelFile.size(), options.levelPath);
        }
        std::fprintf(stderr, "duskhall-render: %s\n", error.c_str());
        HKFreeAll();
        return 2;
    }
    if (std::string error;
        options.placed && !placeStart(options.startX, options.startY, options.startAngle, error)) {
        std::fprintf(stderr, "duskhall-render: --start %s: %s\n", options.startText.c_str(),
                     error.c_str());
        freeLevel();
        HKFreeAll();
        return 2;
    }
    if (options.warnings) {
        levelWarnings().print(stdout, options.levelPath.empty() ? "" : options.levelPath + ": ");
        freeLevel();
        HKFreeAll();
        return 0;
    }
    if (levelWarningsSaidOnLoad()) {
        levelWarnings().print(stderr, "duskhall-render: " + options.levelPath + ": ");
    }
    prepareFrames(pixels.data());
    ExploreSession session;
    const bool walking = !options.walkPath.empty();
    if (walking) {
        session.toggle();
    }
    const auto threads = static_cast<std::int32_t>(options.threads);
    // The script's frames are drawn a whole frame per thread; a walk or a trace
    // follows the camera frame by frame, each frame's columns shared out instead.
    const bool wholeFrames = !walking && !options.trace && threads > 1;
    setFrameThreads(wholeFrames ? 1 : threads);

    int status = 0;
    const auto emit = [&](long long frame, const PackedPixel* shown) {
        if (std::find(options.crcFrames.begin(), options.crcFrames.end(), frame) !=
            options.crcFrames.end()) {
            std::fputs(frameCrcLine(frame, frameCrc(shown, framePixels)).text, stdout);
        }
        for (const PngRequest& png : options.pngs) {
            if (png.frame == frame &&
                !writeFramePng(png.path.c_str(), shown, options.width, options.height)) {
                std::fprintf(stderr, "duskhall-render: cannot write %s\n", png.path.c_str());
                status = 1;
            }
        }
    };
    std::chrono::steady_clock::duration drawing{};
    if (wholeFrames) {
        const auto started = std::chrono::steady_clock::now();
        drawFrameRun(options.frames, threads, emit);
        drawing = std::chrono::steady_clock::now() - started;
    }
    for (long long frame = 1; !wholeFrames && frame <= options.frames; ++frame) {
        const auto started = std::chrono::steady_clock::now();
        if (walking) {
            session.drawFrame(walk.keysAt(frame), walkFrameSeconds);
        } else {
            drawFrame();
        }
        drawing += std::chrono::steady_clock::now() - started;
        if (options.trace) {
            printTrace(frame, session);
        }
        emit(frame, pixels.data());
    }

    if (!options.mapPath.empty() &&
        !writeMap(options.mapPath, session, options.sized ? options.width : mapWidth,
                  options.sized ? options.height : mapHeight)) {
        status = 1;
    }
    if (options.bench) {
        const double seconds = std::chrono::duration<double>(drawing).count();
        const double frames = static_cast<double>(options.frames);
        std::printf("frames %lld seconds %.6f fps %.1f ns_per_pixel %.3f\n", options.frames,
                    seconds, seconds > 0.0 ? frames / seconds : 0.0,
                    seconds * 1e9 / (frames * static_cast<double>(framePixels)));
    }
    setFrameThreads(1);
    freeLevel();
    HKFreeAll();
    return status;
}
