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

// Flats are 64 x 64; wall, sky and middle records get sizes that are no power of
// two, so every wrap of the drawing is exercised.
void buildWithoutFiles(const LevelDescription& level) {
    const TexturePlan plan = planTextures(level);
    std::vector<Texture> images;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const std::int32_t width = plan.columnOrder[i] ? 24 + static_cast<std::int32_t>(i % 3) : 64;
        const std::int32_t height =
            plan.columnOrder[i] ? 40 + static_cast<std::int32_t>(i % 5) : 64;
        const auto texels = static_cast<std::size_t>(width * height);
        auto* texture = static_cast<PackedPixel*>(std::malloc(texels * sizeof(PackedPixel)));
        for (std::size_t t = 0; t < texels; ++t) {
            texture[t] = 0xFF000000u | static_cast<PackedPixel>(i * 0x10101u + t);
        }
        HKPtr(texture);
        images.push_back({width, height, texture});
    }
    buildLevelFrom(level, plan, images);
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
