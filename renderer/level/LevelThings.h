#pragma once

#include "renderer/level/LevelDescription.h"
#include "renderer/level/LevelTextures.h"

#include <cstdint>

// The things of the built level and the sprites they wear, sized when the level is
// built; frames only read them.

// A sprite picture as drawn: a texture record in column order, with its
// transparent texels kept.
struct ThingPicture {
    std::int32_t texture;
    bool mirrored;
    float footX;             // texels from the picture's left edge
    float footY;             // texels from its top row
    std::int32_t opaqueRuns; // its first column's in thingOpaqueRuns, one a column
};

// Of one image column, the rows from its first opaque texel to past its last (both
// 0 for a clear column): the rows outside are never drawn. A solid run has no clear
// texel between them, so it hides whatever is behind its rows.
struct OpaqueRun {
    std::uint16_t first;
    std::uint16_t end;
    bool solid;
};

struct ThingFrame {
    std::int32_t firstPicture;
    std::int32_t rotations; // 1 or 8 pictures
};

struct ThingSprite {
    std::int32_t firstFrame;
    std::int32_t frameCount;
    float framesPerSecond;
    float texelsPerUnit; // the level's wall texels where the sprite gives none
};

struct Thing {
    float x;
    float y;
    float angle;
    std::int32_t sprite;
    std::int32_t sector; // the one holding (x, y)
    bool hanging;
    bool bright;
    bool solid;
    float radius;
};

extern Thing* levelThings;
extern std::int32_t levelThingCount;
extern ThingSprite* thingSprites;
extern ThingFrame* thingFrames;
extern ThingPicture* thingPictures;
extern OpaqueRun* thingOpaqueRuns;

// Builds the tables from a checked description whose textures are planned (the
// sectors are already built).
void buildThings(const LevelDescription& level, const TexturePlan& plan);
void freeThings();

// Which of a frame's eight pictures is seen from (eyeX, eyeY): 0 from the side the
// thing faces, each next 45 degrees further counter-clockwise round it.
std::int32_t thingRotation(const Thing& thing, float eyeX, float eyeY);
// The frame shown at the clock value: framesPerSecond frames a second, round and
// round; 0 for a still sprite.
std::int32_t spriteFrame(const ThingSprite& sprite, float clock);
