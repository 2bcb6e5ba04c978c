#pragma once

#include "renderer/Pixel.h"
#include "renderer/Vec3.h"

#include <cstdint>

struct Texture {
    std::int32_t width;
    std::int32_t height;
    PackedPixel* pixels; // owned by the allocation registry
};

struct Wall {
    Vec3 a;
    Vec3 b;
    std::int32_t neighbour; // -1 for a solid wall
};

struct Sector {
    std::int32_t wallCount;
    Wall* walls;
    float floorHeight;
    float ceilingHeight;
    std::int32_t wallTexture;
    std::int32_t floorTexture;
    std::int32_t ceilingTexture;
};

constexpr int textureCount = 7;

extern Texture* textures;  // textureCount records
extern Vec3* vertices;     // 7 points, used to fill the walls
extern Sector* sectors;    // 2 records
extern Sector solidSector; // neighbour of every solid wall

// Loads the seven textures (working directory first, then the data folder set
// with setTextureDataFolder) and builds the level.
void buildLevel();
// Frees the wall arrays and tables; the texture pixels stay with the registry.
void freeLevel();
