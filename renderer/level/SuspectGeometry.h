#pragma once

#include "renderer/level/LevelDescription.h"
#include "renderer/level/LevelWarnings.h"

// Finds what a checked level allows but its author almost surely did not mean:
//  - a vertex on the middle of another sector's edge, or at the same point as
//    another vertex of a neighbour (a T-junction: a closed wall where the rooms
//    were meant to open into each other);
//  - two sectors covering the same ground (the one the eye is not in is not drawn);
//  - an opening that the heights close (the higher floor not below the lower
//    ceiling), at rest or at either end of a motion.
// Each goes to warnings with its place; nothing is refused.
void findSuspectGeometry(const LevelDescription& level, LevelWarnings& warnings);
