#pragma once

#include "renderer/level/LevelDescription.h"

#include <string>

// The level file that reads back as this description: every number written with
// the digits that give the same float again, so the file draws the same frames.
std::string levelFileText(const LevelDescription& level);
