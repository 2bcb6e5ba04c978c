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

    // Derived from a and b once instead of for every ray; whatever moves a wall's
    // end points calls setEnds so these stay in step.
    Vec3 unit;    // (b - a) / length
    Vec3 normal;  // unit turned by +90 degrees: points to the front side
    float length; // |b - a|

    Wall() = default;
    Wall(Vec3 start, Vec3 end, std::int32_t neighbourSector) : neighbour(neighbourSector) {
        setEnds(start, end);
    }
    void setEnds(Vec3 start, Vec3 end);
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
extern Sector* sectors;    // sectorCount records
extern std::int32_t sectorCount;
extern Sector solidSector; // neighbour of every solid wall

// Loads the seven textures (working directory first, then the data folder set
// with setTextureDataFolder) and builds the level.
void buildLevel();
// Frees the wall arrays and tables; the texture pixels stay with the registry.
void freeLevel();
