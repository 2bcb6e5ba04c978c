#pragma once

#include "renderer/level/LevelWarnings.h"
#include "renderer/level/wad/WadImport.h"
#include "renderer/level/wad/WadMap.h"
#include "renderer/level/wad/WadSprites.h"

// Adds to the imported level the things single play shows at the middle skill:
// those flagged for it and not for multiplayer only, of a type the game's list
// has, wearing a sprite the file has, standing inside a sector that was drawn.
// Starts and landing marks are not drawn; an unknown type, a missing or damaged
// sprite and a thing outside the sectors are each reported once and left out.
// Each sprite picture becomes a texture "sprite:LUMP"; positions are in level
// units and angles in radians, as the start's.
void addWadThings(const WadMap& map, WadSpriteSource* sprites, ImportedLevel& imported,
                  LevelWarnings& warnings);

// Whether single play at the middle skill has the thing.
bool wadThingInSinglePlay(const WadThing& thing);
