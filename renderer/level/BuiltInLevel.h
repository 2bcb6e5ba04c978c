#pragma once

#include "renderer/level/LevelDescription.h"

// The two rooms the program shows without a level file: a box with a triangular
// room cut out of it, whose floor and ceiling rise and fall, under the scripted
// camera. levels/duskhall.json says the same.
LevelDescription builtInLevel();
