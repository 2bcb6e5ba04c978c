#pragma once

#include "renderer/level/LevelDescription.h"

#include <cstdint>
#include <string>
#include <vector>

// What the renderer needs of a level's shapes, checked before anything is built:
// every outline counter-clockwise and every hole clockwise, no loop crossing
// itself or another, no vertex twice in a sector, holes inside their outline, an
// edge shared by at most two sectors and then in opposite directions, floor below
// ceiling, and a start inside a sector and clear of the walls (checkStartPoint).
// problem gets the first fault with its place. Loops of one sector may touch each
// other at a shared vertex.
bool checkLevelGeometry(const LevelDescription& level, std::string& problem);

// The checks of one sector on its own: heights, turns, repeats, crossings, holes.
bool checkSectorShape(const LevelDescription& level, std::size_t sector, std::string& problem);

// For every sector, for every edge in edge order: the sector on the other side
// (the one using the same edge the other way round), or -1 for a solid wall.
std::vector<std::vector<std::int32_t>> findPortals(const LevelDescription& level);

// A start at (x, y) as the walker needs it: inside a sector and at least the
// body's radius from every solid wall. problem says which wall, and how near.
bool checkStartPoint(const LevelDescription& level, float x, float y, std::string& problem);

// The first sector holding the point (even-odd over its outline and holes), or -1.
std::int32_t sectorHolding(const LevelDescription& level, float x, float y);
