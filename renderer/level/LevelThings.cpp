#include "renderer/level/LevelThings.h"

#include "renderer/level/Level.h"
#include "renderer/level/LevelGeometry.h"

#include <cmath>

Thing* levelThings = nullptr;
std::int32_t levelThingCount = 0;
ThingSprite* thingSprites = nullptr;
ThingFrame* thingFrames = nullptr;
ThingPicture* thingPictures = nullptr;
OpaqueRun* thingOpaqueRuns = nullptr;

namespace {

std::int32_t spriteNamed(const LevelDescription& level, const std::string& name) {
    for (std::size_t i = 0; i < level.sprites.size(); ++i) {
        if (level.sprites[i].name == name) {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

// Fills the opaque run of every column of a texture (column order).
void findOpaqueRuns(const Texture& image, OpaqueRun* runs) {
    for (std::int32_t u = 0; u < image.width; ++u) {
        const PackedPixel* column = image.pixels + u * image.height;
        std::int32_t first = 0;
        while (first < image.height && (column[first] >> 24) == 0) {
            ++first;
        }
        std::int32_t end = image.height;
        while (end > first && (column[end - 1] >> 24) == 0) {
            --end;
        }
        bool solid = first < end;
        for (std::int32_t row = first; row < end && solid; ++row) {
            solid = (column[row] >> 24) != 0;
        }
        runs[u] = {static_cast<std::uint16_t>(first < end ? first : 0),
                   static_cast<std::uint16_t>(first < end ? end : 0), solid};
    }
}

} // namespace

void buildThings(const LevelDescription& level, const TexturePlan& plan) {
    freeThings();
    std::size_t frames = 0;
    std::size_t pictures = 0;
    for (const SpriteDescription& sprite : level.sprites) {
        frames += sprite.frames.size();
        for (const SpriteFrame& frame : sprite.frames) {
            pictures += frame.pictures.size();
        }
    }
    thingSprites = new ThingSprite[level.sprites.size()];
    thingFrames = new ThingFrame[frames];
    thingPictures = new ThingPicture[pictures];
    std::size_t opaqueRuns = 0;
    for (const SpriteDescription& sprite : level.sprites) {
        for (const SpriteFrame& frame : sprite.frames) {
            for (const SpritePicture& p : frame.pictures) {
                opaqueRuns += static_cast<std::size_t>(textures[plan.middle(p.texture)].width);
            }
        }
    }
    thingOpaqueRuns = new OpaqueRun[opaqueRuns];
    std::int32_t nextRuns = 0;
    std::int32_t frame = 0;
    std::int32_t picture = 0;
    for (std::size_t s = 0; s < level.sprites.size(); ++s) {
        const SpriteDescription& sprite = level.sprites[s];
        const float texels =
            sprite.texelsPerUnit > 0.0f ? sprite.texelsPerUnit : level.texelsPerUnit;
        thingSprites[s] = {frame, static_cast<std::int32_t>(sprite.frames.size()),
                           sprite.framesPerSecond, texels};
        for (const SpriteFrame& description : sprite.frames) {
            thingFrames[frame++] = {picture,
                                    static_cast<std::int32_t>(description.pictures.size())};
            for (const SpritePicture& p : description.pictures) {
                const std::int32_t record = plan.middle(p.texture);
                thingPictures[picture++] = {record, p.mirrored, p.footX, p.footY, nextRuns};
                findOpaqueRuns(textures[record], thingOpaqueRuns + nextRuns);
                nextRuns += textures[record].width;
            }
        }
    }
    levelThingCount = static_cast<std::int32_t>(level.things.size());
    levelThings = new Thing[level.things.size()];
    for (std::size_t i = 0; i < level.things.size(); ++i) {
        const ThingDescription& t = level.things[i];
        levelThings[i] = {t.x,
                          t.y,
                          t.angle,
                          spriteNamed(level, t.sprite),
                          sectorHolding(level, t.x, t.y),
                          t.hanging,
                          t.bright,
                          t.solid,
                          t.radius};
    }
}

void freeThings() {
    delete[] levelThings;
    levelThings = nullptr;
    levelThingCount = 0;
    delete[] thingSprites;
    thingSprites = nullptr;
    delete[] thingFrames;
    thingFrames = nullptr;
    delete[] thingPictures;
    thingPictures = nullptr;
    delete[] thingOpaqueRuns;
    thingOpaqueRuns = nullptr;
}

std::int32_t thingRotation(const Thing& thing, float eyeX, float eyeY) {
    // The angle in double from the floats, rounded once to float, as the sky's.
    const float seen = static_cast<float>(
        std::atan2(static_cast<double>(eyeY - thing.y), static_cast<double>(eyeX - thing.x)));
    constexpr float eighthsPerRadian = 1.2732395f; // 4 / pi
    const float eighths = (seen - thing.angle) * eighthsPerRadian;
    const auto step = static_cast<std::int32_t>(std::nearbyint(std::fmod(eighths, 8.0f)));
    return ((step % 8) + 8) % 8;
}

std::int32_t spriteFrame(const ThingSprite& sprite, float clock) {
    if (sprite.frameCount < 2 || !(sprite.framesPerSecond > 0.0f) || !(clock > 0.0f)) {
        return 0;
    }
    const double count = std::floor(static_cast<double>(clock * sprite.framesPerSecond));
    return static_cast<std::int32_t>(std::fmod(count, static_cast<double>(sprite.frameCount)));
}
