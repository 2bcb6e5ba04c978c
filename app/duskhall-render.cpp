// Renders the demo's frames without a window: CRC-32 lines, PNG files and a frame
// rate, drawn by exactly the code the demo runs.

#include "app/InstalledTextures.h"
#include "renderer/FrameCrc.h"
#include "renderer/FrameLoop.h"
#include "renderer/FramePng.h"
#include "renderer/Housekeeping.h"
#include "renderer/Level.h"

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr const char* usage = "usage: duskhall-render [--textures DIR] [--frames N] "
                              "[--crc F1,F2,...] [--png F:FILE]... [--bench]";
constexpr long long defaultBenchFrames = 1000;

struct PngRequest {
    long long frame;
    std::string path;
};

struct Options {
    std::string textureDir;
    long long frames = 0; // 0: the largest frame named
    std::vector<long long> crcFrames;
    std::vector<PngRequest> pngs;
    bool bench = false;
};

// A frame number or count: decimal digits only, 1 up to 2^31 - 1.
bool parseCount(const std::string& text, long long& value) {
    if (text.empty() || text.size() > 10 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::strtoll(text.c_str(), nullptr, 10);
    return value >= 1 && value <= INT32_MAX;
}

bool parseCrcList(const std::string& text, std::vector<long long>& frames) {
    std::size_t begin = 0;
    while (true) {
        const std::size_t comma = text.find(',', begin);
        long long frame = 0;
        if (!parseCount(text.substr(begin, comma - begin), frame)) {
            return false;
        }
        frames.push_back(frame);
        if (comma == std::string::npos) {
            return true;
        }
        begin = comma + 1;
    }
}

bool parsePng(const std::string& text, std::vector<PngRequest>& pngs) {
    const std::size_t colon = text.find(':');
    if (colon == std::string::npos || colon + 1 == text.size()) {
        return false;
    }
    PngRequest request;
    if (!parseCount(text.substr(0, colon), request.frame)) {
        return false;
    }
    request.path = text.substr(colon + 1);
    pngs.push_back(request);
    return true;
}

bool parseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--bench") {
            options.bench = true;
        } else if (arg == "--textures" && hasValue) {
            options.textureDir = argv[++i];
        } else if (arg == "--frames" && hasValue) {
            if (!parseCount(argv[++i], options.frames)) {
                return false;
            }
        } else if (arg == "--crc" && hasValue) {
            if (!parseCrcList(argv[++i], options.crcFrames)) {
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
    long long largest = 0;
    for (long long frame : options.crcFrames) {
        largest = std::max(largest, frame);
    }
    for (const PngRequest& png : options.pngs) {
        largest = std::max(largest, png.frame);
    }
    if (options.frames == 0) {
        options.frames = largest == 0 && options.bench ? defaultBenchFrames : largest;
    }
    return largest <= options.frames;
}

// Output paths are taken relative to where the tool was started, before the
// working directory moves to the textures.
bool anchorOutputPaths(std::vector<PngRequest>& pngs) {
    for (PngRequest& png : pngs) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(png.path, error);
        if (error) {
            return false;
        }
        png.path = absolute.string();
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseArguments(argc, argv, options)) {
        std::fprintf(stderr, "%s\n", usage);
        return 2;
    }
    if (!anchorOutputPaths(options.pngs)) {
        std::fprintf(stderr, "duskhall-render: cannot resolve the PNG paths\n");
        return 1;
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
    // Like the demo's framebuffer: all zero at the start and never cleared.
    std::vector<PackedPixel> pixels(screenPixels, 0);
    buildLevel();
    prepareFrames(pixels.data());

    int status = 0;
    std::chrono::steady_clock::duration drawing{};
    for (long long frame = 1; frame <= options.frames; ++frame) {
        const auto started = std::chrono::steady_clock::now();
        drawFrame();
        drawing += std::chrono::steady_clock::now() - started;

        if (std::find(options.crcFrames.begin(), options.crcFrames.end(), frame) !=
            options.crcFrames.end()) {
            std::printf("frame %lld crc32 %08" PRIX32 "\n", frame,
                        frameCrc(pixels.data(), pixels.size()));
        }
        for (const PngRequest& png : options.pngs) {
            if (png.frame == frame &&
                !writeFramePng(png.path.c_str(), pixels.data(), screenWidth, screenHeight)) {
                std::fprintf(stderr, "duskhall-render: cannot write %s\n", png.path.c_str());
                status = 1;
            }
        }
    }

    if (options.bench) {
        const double seconds = std::chrono::duration<double>(drawing).count();
        const double frames = static_cast<double>(options.frames);
        std::printf("frames %lld seconds %.6f fps %.1f ns_per_pixel %.3f\n", options.frames,
                    seconds, seconds > 0.0 ? frames / seconds : 0.0,
                    seconds * 1e9 / (frames * screenPixels));
    }
    freeLevel();
    HKFreeAll();
    return status;
}
