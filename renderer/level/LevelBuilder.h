#pragma once

#include "renderer/level/Level.h"
#include "renderer/level/LevelDescription.h"
#include "renderer/level/LevelTextures.h"

#include <vector>

// Builds the level the renderer draws from a checked description: the texture
// records (the images as loaded, row by row, and registered by the caller, wall
// ones turned into column order), the points, the sectors and their walls with portals
// found and textures resolved, the moving sectors, the start, and the tables whose
// size follows the level (flat depth cache, the traversal's visit bound). Nothing
// it builds is resized while frames are drawn.
void buildLevelFrom(const LevelDescription& level, const TexturePlan& plan,
                    const std::vector<Texture>& images);
