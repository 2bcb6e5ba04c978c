#pragma once

#include "renderer/level/LevelDescription.h"
#include "renderer/level/LevelWarnings.h"
#include "renderer/level/Pixel.h"
#include "renderer/level/wad/WadMap.h"
#include "renderer/level/wad/WadSprites.h"

#include <string>
#include <vector>

// 32 map units make one level unit, across and up.
constexpr float mapUnitsPerLevelUnit = 32.0f;

// The width and height of an imported texture, in texels.
struct ImportedSize {
    std::int32_t width;
    std::int32_t height;
};

// A map as a level: the description a level file would give, and the pixels of
// each texture it names (row by row; flats 64 x 64, wall textures at their own
// size), taken from memory rather than files.
struct ImportedLevel {
    LevelDescription level;
    std::vector<std::vector<PackedPixel>> pixels; // per level.textures entry
    std::vector<ImportedSize> sizes;              // per level.textures entry
};

// Where the importer gets a texture's pixels: a wall texture (with its size) or a
// 64 x 64 flat by its WAD name. False when the WAD has none of that name.
class WadTexturePixels {
  public:
    virtual ~WadTexturePixels() = default;
    virtual bool wall(const std::string& name, std::vector<PackedPixel>& pixels,
                      ImportedSize& size) = 0;
    virtual bool flat(const std::string& name, std::vector<PackedPixel>& pixels) = 0;
    // The sprites things wear; null when there are none, and things are left out.
    virtual WadSpriteSource* sprites() { return nullptr; }
};

// Adds a texture record with its pixels.
void addImportedTexture(ImportedLevel& imported, const std::string& name, const std::string& file,
                        std::vector<PackedPixel> pixels, ImportedSize size);

// Turns the map into a level that passes every check: the sectors' loops traced,
// walls and steps given the sides' textures, the start at player 1's. What cannot
// be drawn is left out and what is missing replaced, each noted in warnings; the
// things single play shows at the middle skill stand in it (see addWadThings).
// False only when nothing drawable remains, with the reason.
bool importWadMap(const WadMap& map, WadTexturePixels& source, ImportedLevel& imported,
                  LevelWarnings& warnings, std::string& error);

// A plain two-tone checker, 64 x 64, drawn where a texture is missing.
std::vector<PackedPixel> checkerPixels();
