#include "renderer/level/Level.h"

#include "renderer/draw/FixedPoint.h"
#include "renderer/draw/FlatCache.h"
#include "renderer/draw/FrameThings.h"
#include "renderer/draw/WallSpans.h"
#include "renderer/level/BuiltInLevel.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/LevelBuilder.h"
#include "renderer/level/LevelFile.h"
#include "renderer/level/LevelGeometry.h"
#include "renderer/level/LevelMovers.h"
#include "renderer/level/LevelTextures.h"
#include "renderer/level/LevelThings.h"
#include "renderer/level/PngLoader.h"
#include "renderer/level/SuspectGeometry.h"
#include "renderer/level/TextureSearch.h"
#include "renderer/level/wad/WadLevel.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

Texture* textures = nullptr;
std::int32_t levelTextureCount = 0;
Vec3* vertices = nullptr;
Sector* sectors = nullptr;
std::int32_t sectorCount = 0;
Sector solidSector = {};
SectorMotion* sectorMotions = nullptr;
std::int32_t sectorMotionCount = 0;
LevelStart levelStart = {};
WalkerBody levelBody = {};
std::int32_t skyTexture = -1;
TextureAlignment levelAlignment = {};
bool levelShadedFlats = false;

namespace {

std::string name;
LevelWarnings warnings;
LevelDescription built; // the level last built, for checking a start given later
bool imported = false;  // the level last built came from a WAD

} // namespace

const std::string& levelName() {
    return name;
}

const LevelWarnings& levelWarnings() {
    return warnings;
}

bool levelWarningsSaidOnLoad() {
    return !imported;
}

void Wall::setEnds(Vec3 start, Vec3 end) {
    a = start;
    b = end;
    // The same single-precision steps the hit test used to take for every ray.
    const Vec3 d = b - a;
    length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    unit = d * (1.0f / length);
    normal = Vec3(-unit.y, unit.x, 0.0f);
}

void buildLevel() {
    const LevelDescription level = builtInLevel();
    const TexturePlan plan = planTextures(level);
    std::vector<Texture> images;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const std::string& file = plan.files[i];
        const bool flat = !plan.columnOrder[i];
        Texture image = {0, 0, nullptr};
        // Registration comes first: a missing or misfit file ends the program
        // here, before anything reads the absent pixels, after a line saying
        // which and why.
        const std::string path = texturePath(file.c_str());
        if (loadPng(path.c_str(), image.width, image.height, image.pixels, false, flat) ==
            nullptr) {
            std::fprintf(stderr, "%s\n", textureProblem(file, path, "", flat).c_str());
        }
        HKPtr(image.pixels);
        images.push_back(image);
    }
    buildLevelFrom(level, plan, images);
    built = level;
    name.clear();
    warnings.clear();
}

namespace {

// A WAD's map is imported with its pixels from memory, one registered copy per
// texture record.
bool loadWadLevel(const std::string& argument, std::string& error) {
    ImportedLevel imported;
    LevelWarnings noticed;
    if (!importWadLevel(argument, imported, noticed, error)) {
        return false;
    }
    const TexturePlan plan = planTextures(imported.level);
    std::vector<Texture> images;
    for (const std::string& file : plan.files) {
        std::size_t index = 0;
        while (imported.level.textures[index].file != file) {
            ++index;
        }
        const std::vector<PackedPixel>& source = imported.pixels[index];
        auto* copy = static_cast<PackedPixel*>(std::malloc(source.size() * sizeof(PackedPixel)));
        HKPtr(copy);
        std::memcpy(copy, source.data(), source.size() * sizeof(PackedPixel));
        images.push_back({imported.sizes[index].width, imported.sizes[index].height, copy});
    }
    buildLevelFrom(imported.level, plan, images);
    built = imported.level;
    name = imported.level.name;
    warnings = noticed;
    return true;
}

} // namespace

bool loadLevel(const std::string& path, std::string& error) {
    imported = isWadLevelArgument(path);
    if (imported) {
        return loadWadLevel(path, error);
    }
    LevelDescription level;
    if (!readLevelFile(path, level, error)) {
        return false;
    }
    const TexturePlan plan = planTextures(level);
    std::vector<Texture> images;
    const std::string folder = std::filesystem::path(path).parent_path().string();
    std::string problem;
    if (!loadTextures(plan, folder.empty() ? "." : folder, images, problem)) {
        error = path + ": " + problem;
        return false;
    }
    for (const Texture& image : images) {
        HKPtr(image.pixels);
    }
    buildLevelFrom(level, plan, images);
    built = level;
    name = level.name;
    warnings.clear();
    findSuspectGeometry(level, warnings);
    return true;
}

bool placeStart(float x, float y, float angle, std::string& error) {
    if (!checkStartPoint(built, x, y, error)) {
        return false;
    }
    levelStart = {x, y, angle, sectorHolding(built, x, y), false};
    return true;
}

void freeLevel() {
    // Safe to call twice or without a level: every pointer is cleared once freed.
    for (std::int32_t s = 0; s < sectorCount; ++s) {
        delete[] sectors[s].walls;
    }
    delete[] sectors;
    sectors = nullptr;
    sectorCount = 0;
    delete[] vertices;
    vertices = nullptr;
    for (std::int32_t t = 0; t < levelTextureCount; ++t) {
        delete[] textures[t].shades;
    }
    delete[] textures;
    textures = nullptr;
    levelTextureCount = 0;
    skyTexture = -1;
    levelAlignment = {};
    levelShadedFlats = false;
    delete[] sectorMotions;
    sectorMotions = nullptr;
    sectorMotionCount = 0;
    levelBody = {};
    levelMovers = {};
    freeThings();
    frameThings.resize(0);
    resizeFlatCache(0);
    frameWallSpans.resize(nullptr, 0);
}

void moveSectors(Sector* table, float time) {
    for (std::int32_t i = 0; i < sectorMotionCount; ++i) {
        const SectorMotion& motion = sectorMotions[i];
        const float lift = std::fabs(motion.amplitude * sineOf(time * motion.speed));
        table[motion.sector].floorHeight = lift + motion.floor;
        table[motion.sector].ceilingHeight = lift + motion.ceiling;
    }
}
