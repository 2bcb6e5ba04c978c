#pragma once

#include "renderer/level/MoverDescription.h"
#include "renderer/level/WalkerBody.h"

#include <cstdint>
#include <string>
#include <vector>

// A level as its file describes it, before anything is built from it. The built-in
// level is one of these too, so both are built the same way.

// The most a level may hold; the loader refuses anything larger.
constexpr std::int32_t maxLevelSectors = 4096;
constexpr std::int32_t maxLevelVertices = 65536;
constexpr std::int32_t maxSectorEdges = 1024; // outline and holes together
constexpr std::int32_t maxLevelEdges = 262144;
constexpr std::int32_t maxLevelTextures = 1024; // Freedoom's maps with their sprites: up to 373
constexpr std::int64_t maxLevelTexels = std::int64_t{1} << 25; // all its images: 128 MiB
constexpr std::int64_t maxLevelFileBytes = 16 * 1024 * 1024;
constexpr float maxLevelCoordinate = 32768.0f; // positions and heights
constexpr float maxMotionSpeed = 1000.0f;
constexpr float maxTexelsPerUnit = 1024.0f;
constexpr float maxTextureOffset = 32768.0f; // texels
constexpr std::int32_t maxLevelSprites = 1024;
constexpr std::int32_t maxSpriteFrames = 64;
constexpr std::int32_t maxLevelThings = 16384;
constexpr std::size_t spriteRotations = 8; // pictures of a frame seen by the side
constexpr float maxThingRadius = 1024.0f;

// The texture names of one wall side; empty names take the defaults.
struct SideDescription {
    std::int32_t edge = 0;
    std::string texture;   // the solid wall
    std::string lower;     // the step up to a higher floor behind a portal
    std::string upper;     // the step down to a lower ceiling behind a portal
    std::string middle;    // see-through, hung in a portal's opening; none when empty
    bool blocking = false; // the walker may not cross this portal
    // Where the texture sits, in texels: the column at the wall's anchor edge and
    // the row at its anchor height.
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    // The side names its offset, [0, 0] too: a run of straight walls split into
    // several edges starts its texture afresh here instead of running on.
    bool offsetGiven = false;
    // A solid wall stands on the floor; a lower step is anchored at this sector's
    // ceiling; a see-through middle stands on the higher floor.
    bool lowerUnpegged = false;
    bool upperUnpegged = false; // an upper step's top row at this sector's ceiling

    bool givesOffset() const { return offsetGiven || offsetX != 0.0f || offsetY != 0.0f; }
};

// A floor and ceiling that move with the animation clock t:
// lift = |amplitude * sin(speed * t)|, floor = lift + floor, ceiling = lift + ceiling.
struct MotionDescription {
    bool moves = false;
    float amplitude = 0.0f;
    float speed = 0.0f;
    float floor = 0.0f;
    float ceiling = 0.0f;
};

struct SectorDescription {
    std::vector<std::int32_t> outline;            // counter-clockwise
    std::vector<std::vector<std::int32_t>> holes; // each clockwise
    float floor = 0.0f;
    float ceiling = 0.0f;
    std::string wallTexture;
    std::string floorTexture;
    std::string ceilingTexture;
    std::int32_t light = 255; // 0 dark to 255 full brightness
    std::vector<SideDescription> sides;
    MotionDescription motion;

    // Walls are numbered along the outline, then along each hole in turn.
    std::int32_t edgeCount() const;
    // The vertices of edge k, from start to end.
    void edgeEnds(std::int32_t k, std::int32_t& from, std::int32_t& to) const;
};

// One picture of a thing, as seen from one side: a texture of the level (a PNG
// with alpha), drawn mirrored or not, and the texel of it that stands on the
// thing's foot, counted from the picture's left edge and from its top row.
struct SpritePicture {
    std::string texture;
    bool mirrored = false;
    float footX = 0.0f;
    float footY = 0.0f;
};

// One frame of a sprite: one picture, seen alike from every side, or eight, the
// first seen from in front of the thing (from the direction it faces), each next
// from 45 degrees further counter-clockwise around it.
struct SpriteFrame {
    std::vector<SpritePicture> pictures;
};

// The pictures things wear; a sprite of several frames cycles through them.
struct SpriteDescription {
    std::string name;
    std::vector<SpriteFrame> frames;
    float framesPerSecond = 0.0f; // 0: it stays in its first frame
    float texelsPerUnit = 0.0f;   // 0: as many as the level's walls have
};

// Something standing in a room (or hanging from its ceiling), drawn upright and
// turned to the viewer.
struct ThingDescription {
    float x = 0.0f;
    float y = 0.0f;
    float angle = 0.0f;   // the direction it faces, in radians as the start's
    std::string sprite;   // a name of the level's sprites
    bool hanging = false; // from its sector's ceiling instead of standing on the floor
    bool bright = false;  // at full brightness at every depth
    bool solid = false;   // the walker cannot come nearer than radius
    float radius = 0.0f;
};

struct TextureFile {
    std::string name;
    std::string file;
};

struct LevelDescription {
    std::string name;
    std::vector<TextureFile> textures; // in the file's order
    std::vector<float> vertexX;
    std::vector<float> vertexY;
    std::vector<SectorDescription> sectors;
    float startX = 0.0f;
    float startY = 0.0f;
    float startAngle = 0.0f;
    bool scriptedCamera = false; // the built-in camera script instead of standing at start
    WalkerBody body;
    bool fakeContrast = false; // walls along x a light step darker, along y one brighter
    std::string sky; // the texture floors and ceilings wearing it show as sky; none when empty
    std::vector<MoverDescription> movers; // doors, then lifts, each in the file's order
    std::vector<TriggerDescription> triggers;
    std::vector<SpriteDescription> sprites;
    std::vector<ThingDescription> things;
    // Texels a unit of the level on walls (across and down) and on floors and
    // ceilings; with roomAlignedWalls a solid wall hangs from its ceiling and images
    // run left to right as seen from the room, instead of starting at height 0 and
    // at each wall's first point.
    float texelsPerUnit = 16.0f;
    float flatTexelsPerUnit = 32.0f;
    bool roomAlignedWalls = false;
};
