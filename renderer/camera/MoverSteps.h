#pragma once

#include "renderer/level/Level.h"
#include "renderer/level/LevelMovers.h"

#include <cstdint>

// Doors and lifts in time, and the lines that set them going. Walks replay
// exactly: the time given is explore mode's step (1/60 s a frame in a walk).

// How far ahead of the eye a line can be used: 64 map units.
constexpr float useReach = 2.0f;

// Moves every door and lift on by the seconds and writes their heights into
// table. The walker in walkerSector (-1: none) keeps the room its body needs: a
// closing door or a rising lift over it turns back, and one that opens further
// into it stops.
void stepMovers(LevelMovers& movers, Sector* table, float seconds, std::int32_t walkerSector,
                const WalkerBody& body);

// A door or lift at rest starts; one waiting to close or closing opens again;
// one moving up to its open height, or staying open, carries on.
void setGoing(Mover& mover);

// Sets going the targets of every walk line the step from (x0, y0) to (x1, y1)
// crosses.
void crossWalkLines(LevelMovers& movers, float x0, float y0, float x1, float y1);

// The use key: sets going the targets of the nearest used line within useReach
// straight ahead of the eye, seen from its front, unless a solid wall of the
// eye's sector is nearer. True when a line was used.
bool useLineAhead(LevelMovers& movers, const Sector* table, float x, float y, float angle,
                  std::int32_t sector);
