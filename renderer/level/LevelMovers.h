#pragma once

#include "renderer/level/LevelDescription.h"

#include <cstdint>
#include <vector>

// The doors and lifts of the built level and the lines that set them going.
// Sized when the level is built; stepping them allocates nothing.

enum class MoverPhase : std::uint8_t { rest, going, waiting, returning, stayed };

struct Mover {
    std::int32_t sector;
    bool ceiling; // a door moves its ceiling, a lift its floor
    bool returns; // back to rest after waiting
    float rest;   // the moving surface's height at rest
    float target;
    float speed;
    float wait;
    MoverPhase phase;
    float height; // where the surface is now
    float from;   // where it was when the phase began
    double time;  // seconds into the phase
};

struct TriggerLine {
    float ax, ay, bx, by; // the edge, with its sector on the left
    std::int32_t sector;
    bool walk;
    bool once;
    bool spent; // a once line that acted
    std::int32_t firstTarget;
    std::int32_t targetCount;
};

struct LevelMovers {
    std::vector<Mover> movers;
    std::vector<TriggerLine> lines;
    std::vector<std::int32_t> targets; // mover indices, each line's in turn
};

extern LevelMovers levelMovers;

// Fills movers from a checked description, the sectors already built with their
// portals (targets computed from the neighbours' heights).
void buildMovers(const LevelDescription& level,
                 const std::vector<std::vector<std::int32_t>>& portals, LevelMovers& movers);
