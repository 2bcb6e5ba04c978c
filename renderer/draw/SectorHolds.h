#pragma once

#include "renderer/level/Level.h"

// True when the point (x, y) lies inside the sector: an odd number of its walls
// (outline and holes, which close into loops) cross the line from the point
// towards +x.
bool sectorHolds(const Sector& sector, float x, float y);
