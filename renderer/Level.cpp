#include "renderer/Level.h"

#include "renderer/Housekeeping.h"
#include "renderer/PngLoader.h"
#include "renderer/TextureSearch.h"

#include <cmath>
#include <cstddef>

Texture* textures = nullptr;
Vec3* vertices = nullptr;
Sector* sectors = nullptr;
std::int32_t sectorCount = 0;
Sector solidSector = {};

namespace {

constexpr int vertexCount = 7;
constexpr int builtSectors = 2;

// Load order fixes the texture indices the sectors refer to; the first three are
// wall textures and are stored column by column.
constexpr const char* textureFiles[textureCount] = {
    "wall1.png", "wall2.png", "wall3.png", "floor1.png", "floor2.png", "floor3.png", "floor4.png",
};
constexpr int wallTextureCount = 3;

// A wall of the built-in level: its end points as vertex indices.
struct WallDescription {
    int a;
    int b;
    std::int32_t neighbour;
};

// The outer box runs counter-clockwise and the triangle's portals clockwise, so
// every wall of sector 0 faces into it.
constexpr WallDescription sector0Walls[] = {
    {0, 1, -1}, {1, 2, -1}, {2, 3, -1}, {3, 0, -1}, {5, 4, 1}, {6, 5, 1}, {4, 6, 1},
};
// The triangle runs counter-clockwise: its walls face inwards.
constexpr WallDescription sector1Walls[] = {
    {4, 5, 0},
    {5, 6, 0},
    {6, 4, 0},
};

template <std::size_t N> Wall* buildWalls(const WallDescription (&descriptions)[N]) {
    Wall* walls = new Wall[N];
    for (std::size_t i = 0; i < N; ++i) {
        walls[i] = Wall(vertices[descriptions[i].a], vertices[descriptions[i].b],
                        descriptions[i].neighbour);
    }
    return walls;
}

void setSector(Sector& sector, std::int32_t wallCount, Wall* walls, float floorHeight,
               float ceilingHeight, std::int32_t wallTexture, std::int32_t floorTexture,
               std::int32_t ceilingTexture) {
    sector.wallCount = wallCount;
    sector.walls = walls;
    sector.floorHeight = floorHeight;
    sector.ceilingHeight = ceilingHeight;
    sector.wallTexture = wallTexture;
    sector.floorTexture = floorTexture;
    sector.ceilingTexture = ceilingTexture;
}

} // namespace

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
    textures = new Texture[textureCount]();
    for (int i = 0; i < textureCount; ++i) {
        Texture& texture = textures[i];
        // Registration comes first: a missing file ends the program here, before
        // anything reads the absent pixels.
        HKPtr(loadPng(texturePath(textureFiles[i]).c_str(), texture.width, texture.height,
                      texture.pixels));
        if (i < wallTextureCount) {
            transposeTexture(i);
        }
    }

    solidSector.floorHeight = 0.0f;
    solidSector.ceilingHeight = 0.0f;
    solidSector.wallTexture = 0;

    vertices = new Vec3[vertexCount];
    vertices[0] = Vec3(-10.0f, 5.0f, 0.0f);
    vertices[1] = Vec3(-10.0f, -5.0f, 0.0f);
    vertices[2] = Vec3(10.0f, -5.0f, 0.0f);
    vertices[3] = Vec3(10.0f, 5.0f, 0.0f);
    vertices[4] = Vec3(8.0f, 0.0f, 0.0f);
    vertices[5] = Vec3(2.0f, 4.0f, 0.0f);
    vertices[6] = Vec3(2.0f, -4.0f, 0.0f);

    sectors = new Sector[builtSectors]();
    sectorCount = builtSectors;
    setSector(sectors[0], 7, buildWalls(sector0Walls), 0.0f, 3.0f, 1, 3, 5);
    setSector(sectors[1], 3, buildWalls(sector1Walls), -0.2f, 2.5f, 2, 4, 6);
}

void freeLevel() {
    // Safe to call twice or without a level: every pointer is cleared once freed.
    if (sectors != nullptr) {
        delete[] sectors[0].walls;
        delete[] sectors[1].walls;
    }
    delete[] sectors;
    sectors = nullptr;
    sectorCount = 0;
    delete[] vertices;
    vertices = nullptr;
    delete[] textures;
    textures = nullptr;
}
