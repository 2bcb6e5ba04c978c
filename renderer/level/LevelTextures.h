#pragma once

#include "renderer/level/Level.h"
#include "renderer/level/LevelDescription.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// Which texture records a level needs: walls are drawn column by column and flats
// row by row, so a texture used as both is loaded twice; a see-through middle keeps
// its transparent texels, which a wall or flat never shows, so it has a record of
// its own too. Wall textures (and the sky) come first, then flat ones, then
// middles, each in the order the level lists them; unused ones are left out.
struct TexturePlan {
    std::vector<std::string> files;         // per record
    std::vector<bool> columnOrder;          // per record: a wall, sky or middle texture
    std::vector<bool> seeThrough;           // per record: a middle, transparent texels kept
    std::vector<std::int32_t> wallRecord;   // per level texture: its wall record or -1
    std::vector<std::int32_t> flatRecord;   // per level texture: its flat record or -1
    std::vector<std::int32_t> middleRecord; // per level texture: its middle record or -1
    // Each name's level texture (the first of that name): every side of a large
    // level looks up four, which a search through the names made slow.
    std::unordered_map<std::string, std::int32_t> textureNamed;

    // The record of a named texture used on a wall or as a flat.
    std::int32_t wall(const std::string& name) const;
    std::int32_t flat(const std::string& name) const;
    std::int32_t middle(const std::string& name) const;
};

TexturePlan planTextures(const LevelDescription& level);

// Loads every record of the plan, each file looked up in levelFolder first (when
// not empty), then through the texture search; a flat record must be 64 x 64. On
// failure frees what it loaded and names the file; on success the caller owns the
// malloc'ed pixels of the images (row by row).
bool loadTextures(const TexturePlan& plan, const std::string& levelFolder,
                  std::vector<Texture>& images, std::string& error);

// Where the textures of a level in levelFolder are looked for, in order, for a
// message (empty folder: the built-in level's places).
std::string texturePlaces(const std::string& levelFolder);

// One line on why the texture file (found at path, or not at all) was refused as
// a wall texture or, with flat, as a floor or ceiling.
std::string textureProblem(const std::string& file, const std::string& path,
                           const std::string& levelFolder, bool flat = false);
