#pragma once

#include "renderer/level/Level.h"

#include <cstdint>
#include <string>

// Why an eye at (x, y, z) in the given sector is not where it may be, or an empty
// text when it is: inside that sector, at least the clearance away from every
// solid wall of the level, and strictly between its sector's floor and ceiling.
// An exact position (not one read back from printed text) must also not lie a
// rounding error behind a wall of its sector, where the traversal would miss it.
// A position read back from text may lie on a portal's line of its sector, on
// either side of it.
std::string eyeOutsideLevel(float x, float y, float z, std::int32_t sector, const Sector* level,
                            std::int32_t sectorCount, bool exact = true);

// Which sector of the level holds the plan point, by its walls alone; -1 for none.
// A point on a wall's line may be given either side.
std::int32_t sectorHolding(float x, float y, const Sector* level, std::int32_t sectorCount);
