#pragma once

#include "renderer/level/wad/WadFile.h"

#include <cstdint>
#include <string>
#include <vector>

// One Doom-format map of a WAD: its marker (E#M# or MAP##) and the records of the
// lumps after it. Every index a record holds is checked against the records it
// names; what a map means (loops, walls, light) is for the importer to decide.

struct WadThing {
    std::int16_t x = 0, y = 0;
    std::int16_t angle = 0; // degrees, 0 east, counter-clockwise
    std::int16_t type = 0;
    std::int16_t flags = 0;
};

// A side of a line that has no sidedef.
constexpr std::int32_t noWadSide = -1;

struct WadLinedef {
    std::uint16_t start = 0, end = 0; // vertexes
    std::uint16_t flags = 0, special = 0, tag = 0;
    std::int32_t right = noWadSide; // sidedefs, noWadSide when absent
    std::int32_t left = noWadSide;
};

struct WadSidedef {
    std::int16_t xOffset = 0, yOffset = 0;
    std::string upper, lower, middle; // texture names as wadName gives them ("-": none)
    std::uint16_t sector = 0;
};

struct WadVertex {
    std::int16_t x = 0, y = 0;
};

struct WadSector {
    std::int16_t floorHeight = 0, ceilingHeight = 0;
    std::string floorFlat, ceilingFlat;
    std::int16_t light = 0, special = 0, tag = 0;
};

// Line flags the importer reads.
constexpr std::uint16_t wadLineBlocking = 0x0001;
constexpr std::uint16_t wadLineTwoSided = 0x0004;
constexpr std::uint16_t wadLineUpperUnpegged = 0x0008;
constexpr std::uint16_t wadLineLowerUnpegged = 0x0010;

struct WadMap {
    std::string name; // E1M1, MAP01, ...
    std::vector<WadThing> things;
    std::vector<WadLinedef> linedefs;
    std::vector<WadSidedef> sidedefs;
    std::vector<WadVertex> vertexes;
    std::vector<WadSector> sectors;
};

// Whether a lump name is a map marker: E1M1..E9M9 or MAP01..MAP99.
bool isWadMapName(const std::string& name);

// The maps of the file in directory order, each name once (a later map of the
// same name replaces the earlier). A marker counts when THINGS follows it.
std::vector<std::string> wadMapNames(const WadFile& wad);

// Reads and checks the map of that name (any case; the last of that name).
bool readWadMap(const WadFile& wad, const std::string& name, WadMap& map, std::string& error);

// The sky texture of a map: SKY1..SKY4 for episodes 1-4 (SKY1 beyond), SKY1 for
// MAP01-11, SKY2 for MAP12-20, SKY3 for MAP21 on. Ceilings of this flat show it.
std::string wadSkyTexture(const std::string& mapName);
constexpr const char* wadSkyFlat = "F_SKY1";

// The player 1 start (thing type 1): the last one, as the game uses; null when the
// map has none.
const WadThing* wadPlayerStart(const WadMap& map);
