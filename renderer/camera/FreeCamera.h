#pragma once

#include "renderer/level/Level.h"

#include <cstdint>

// The camera of explore mode: where the eye is, where it looks and which sector
// holds it. The eye height follows the floor of that sector.
struct FreeCamera {
    float x;
    float y;
    float z;
    float angle; // view direction (cos angle, sin angle), radians in (-pi, pi]
    std::int32_t sector;
};

// Movement keys held during a step, and the turn asked for by the mouse since the
// last step (radians, positive turns left).
struct MoveInput {
    bool forward = false;
    bool back = false;
    bool strafeLeft = false;
    bool strafeRight = false;
    bool turnLeft = false;
    bool turnRight = false;
    float mouseTurn = 0.0f;
    bool use = false; // pressed: acts on the line ahead (held on, it acts once)
};

constexpr float walkSpeed = 4.0f;       // units per second
constexpr float turnSpeed = 2.0943952f; // 120 degrees per second
constexpr float longestStep = 0.1f;     // seconds; a stall moves the eye no farther
// The default body's sizes (WalkerBody), by the names explore mode has used.
constexpr float eyeAboveFloor = WalkerBody{}.eye;
constexpr float wallClearance = WalkerBody{}.radius;
constexpr float eyeHeadroom = WalkerBody{}.height - WalkerBody{}.eye;
constexpr float highestStepUp = WalkerBody{}.step;

// The level's moving sectors (Level.h's sectorMotions). Their portals are judged
// at their resting heights (lift 0): the eye boards a lift wherever it stands, as
// it always could the built-in level's moving room.
struct MovingSectors {
    const SectorMotion* motions = nullptr;
    std::int32_t count = 0;
};

// Explore mode starting from a view: the plan position and direction are kept, the
// eye is put at its height above the sector's floor.
FreeCamera cameraFromView(float x, float y, float dirX, float dirY, std::int32_t sector,
                          const Sector* level, MovingSectors moving = {},
                          const WalkerBody& body = {});

// One step of explore mode: turns, then walks for the elapsed seconds (at most
// longestStep), sliding along solid walls and portals too low or too high to pass,
// and passing through the others. level is the sector table, read with its
// heights as they are now.
FreeCamera stepFreeCamera(const FreeCamera& camera, const MoveInput& input, float elapsed,
                          const Sector* level, MovingSectors moving = {},
                          const WalkerBody& body = {});

// True when the body may walk from sector from into its neighbour to: the opening
// between them is more than the body's height, and to's floor lies at most its
// step above from's. A portal that fails is a wall to walk along.
bool portalPassable(const Sector& from, const Sector& to, const WalkerBody& body = {});

// The eye height for a plan position in the given sector: the body's eye over the
// floor, or the middle of a room too low for the body.
float eyeHeightIn(const Sector& sector, const WalkerBody& body = {});
