#pragma once

#include "renderer/level/LevelWarnings.h"
#include "renderer/level/Pixel.h"
#include "renderer/level/Vec3.h"
#include "renderer/level/WalkerBody.h"

#include <cstdint>
#include <string>

struct Texture {
    std::int32_t width;
    std::int32_t height;
    PackedPixel* pixels; // owned by the allocation registry
    // A flat's 32 shades one after another (shade s from s x width x height), made
    // when a level is built for the flats of sectors below full light; else nullptr.
    PackedPixel* shades = nullptr;
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

    // Drawn below and above the sector behind: the solid wall itself, or a
    // portal's steps up to a higher floor and down to a lower ceiling.
    std::int32_t lowerTexture = 0;
    std::int32_t upperTexture = 0;
    // A see-through texture hung in a portal's opening, -1 for none; the walker
    // may not cross a blocking portal however wide its opening.
    std::int32_t middleTexture = -1;
    bool blocking = false;
    // Light steps added to its sector's for this wall alone: with the level's fake
    // contrast, -1 for a wall along x, +1 for one along y.
    std::int32_t contrast = 0;
    // The side's texture offset in texels and anchoring (SideDescription's).
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    bool lowerUnpegged = false;
    bool upperUnpegged = false;
    // The length of the run of straight walls it belongs to before its first
    // point and after its end (WallChains), so a split wall's texture runs on.
    float chainBefore = 0.0f;
    float chainAfter = 0.0f;

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
    std::int32_t wallTexture; // the default of its neighbours' steps into it
    std::int32_t floorTexture;
    std::int32_t ceilingTexture;
    // Flat depth cache entries of the floor and ceiling; sectors whose surfaces
    // stand at the same height share one.
    std::int32_t floorKey = 0;
    std::int32_t ceilingKey = 1;
    // Shows the level's sky instead of its flat.
    bool floorSky = false;
    bool ceilingSky = false;
    std::int32_t light = 255; // 0 dark to 255 full brightness
};

// A sector whose floor and ceiling ride the animation clock t:
// lift = |amplitude * sin(t * speed)|, floor = lift + floor, ceiling = lift + ceiling.
struct SectorMotion {
    std::int32_t sector;
    float amplitude;
    float speed;
    float floor;
    float ceiling;
};

// Where the eye starts; a scripted level leaves the camera to the built-in script.
struct LevelStart {
    float x;
    float y;
    float angle;
    std::int32_t sector;
    bool scripted;
};

constexpr int textureCount = 7; // the built-in level's

// How the level's textures sit (LevelDescription's texelsPerUnit, flatTexelsPerUnit
// and roomAlignedWalls).
struct TextureAlignment {
    float wallTexels = 16.0f;
    float flatTexels = 32.0f;
    bool roomAligned = false;
};

extern Texture* textures; // levelTextureCount records
extern std::int32_t levelTextureCount;
extern Vec3* vertices;  // the level's points, used to fill the walls
extern Sector* sectors; // sectorCount records
extern std::int32_t sectorCount;
extern Sector solidSector;          // neighbour of every solid wall
extern SectorMotion* sectorMotions; // sectorMotionCount records
extern std::int32_t sectorMotionCount;
extern LevelStart levelStart;
extern WalkerBody levelBody;    // the walker's size in this level
extern std::int32_t skyTexture; // the sky's record, column order; -1 for a level without one
extern TextureAlignment levelAlignment;
extern bool levelShadedFlats; // some floor or ceiling is below full light

// Loads the seven textures (working directory first, then the data folder set
// with setTextureDataFolder) and builds the built-in level; a missing texture ends
// the program with the Housekeeping message.
void buildLevel();
// Reads, checks and builds a level file, its textures looked up beside it first.
// Nothing is built unless every check passes; false, with one line naming the file
// and the problem, otherwise.
bool loadLevel(const std::string& path, std::string& error);
// Moves the start of the level just built to (x, y), looking along angle, checked
// as a file's start is (inside a sector, clear of the walls); the eye then stands
// there, even in a level made for the scripted camera. false and why, otherwise.
bool placeStart(float x, float y, float angle, std::string& error);
// Frees the wall arrays and tables; the texture pixels stay with the registry.
void freeLevel();

// The title a level file gives itself ("name"), empty for the built-in level.
const std::string& levelName();

// What the reader noticed in the level last loaded without refusing it (none for
// the built-in level); the programs print these.
const LevelWarnings& levelWarnings();
// Whether the programs say those as the level loads: a level file's, yes; a WAD
// map's (the importer's decisions about faults real maps have, many of them and
// each harmless) only when asked with --warnings.
bool levelWarningsSaidOnLoad();

// Moves every moving sector of the given table to the clock value.
void moveSectors(Sector* table, float time);
