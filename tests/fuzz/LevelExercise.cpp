#include "LevelExercise.h"

#include "renderer/camera/ExploreSession.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/level/LevelBuilder.h"
#include "renderer/level/LevelFile.h"
#include "renderer/level/LevelTextures.h"

#include <cstdlib>
#include <vector>

namespace {

constexpr const char* label = "input.json";

void buildWithoutFiles(const LevelDescription& level) {
    const TexturePlan plan = planTextures(level);
    std::vector<PackedPixel*> pixels;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        auto* texture = static_cast<PackedPixel*>(std::malloc(64 * 64 * sizeof(PackedPixel)));
        for (int t = 0; t < 64 * 64; ++t) {
            texture[t] = 0xFF000000u | static_cast<PackedPixel>(i * 0x10101u + t);
        }
        HKPtr(texture);
        pixels.push_back(texture);
    }
    buildLevelFrom(level, plan, pixels);
}

} // namespace

std::string exerciseLevel(const std::string& text) {
    LevelDescription level;
    std::string error;
    if (!parseLevelText(text, label, level, error)) {
        const std::string start = std::string(label) + ": ";
        if (error.size() <= start.size() || error.compare(0, start.size(), start) != 0 ||
            error.find('\n') != std::string::npos) {
            std::abort();
        }
        return error;
    }
    buildWithoutFiles(level);
    if (levelStart.sector < 0 || levelStart.sector >= sectorCount) {
        std::abort();
    }
    static std::vector<PackedPixel> pixels(screenPixels);
    prepareFrames(pixels.data());
    ExploreSession session;
    session.drawFrame({}, 0.0f);
    session.toggle();
    MoveInput walk;
    walk.forward = true;
    walk.turnLeft = true;
    for (int frame = 0; frame < 3; ++frame) {
        session.drawFrame(walk, 0.1f);
        if (cameraSector < 0 || cameraSector >= sectorCount) {
            std::abort();
        }
    }
    freeLevel();
    HKFreeAll();
    framebuffer = nullptr;
    return "";
}
