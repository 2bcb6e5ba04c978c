#include "renderer/camera/MoverSteps.h"

#include "renderer/draw/FixedPoint.h"

#include <cmath>

namespace {

// Enough for a step to finish a move, a wait and start the next move.
constexpr int phasesPerStep = 4;

void startPhase(Mover& mover, MoverPhase phase) {
    mover.phase = phase;
    mover.from = mover.height;
    mover.time = 0.0;
}

// Runs the mover's clock on; phases that end inside the step hand what is left
// of it to the next.
void advance(Mover& mover, double seconds) {
    mover.time += seconds;
    for (int round = 0; round < phasesPerStep; ++round) {
        if (mover.phase == MoverPhase::going || mover.phase == MoverPhase::returning) {
            const bool going = mover.phase == MoverPhase::going;
            const float end = going ? mover.target : mover.rest;
            const double distance = std::fabs(static_cast<double>(end) - mover.from);
            const double needed = distance / static_cast<double>(mover.speed);
            if (mover.time < needed) {
                const double travelled = static_cast<double>(mover.speed) * mover.time;
                mover.height = static_cast<float>(end > mover.from ? mover.from + travelled
                                                                   : mover.from - travelled);
                return;
            }
            const double left = mover.time - needed;
            mover.height = end;
            startPhase(mover, going ? (mover.returns ? MoverPhase::waiting : MoverPhase::stayed)
                                    : MoverPhase::rest);
            mover.time = mover.phase == MoverPhase::waiting ? left : 0.0;
        } else if (mover.phase == MoverPhase::waiting) {
            if (mover.time < static_cast<double>(mover.wait)) {
                return;
            }
            const double left = mover.time - static_cast<double>(mover.wait);
            startPhase(mover, MoverPhase::returning);
            mover.time = left;
        } else {
            mover.time = 0.0;
            return;
        }
    }
}

float roomWith(const Mover& mover, const Sector& sector, float height) {
    return mover.ceiling ? height - sector.floorHeight : sector.ceilingHeight - height;
}

// Which side of the line from a to b the point is on: positive on the left.
float sideOf(float ax, float ay, float bx, float by, float x, float y) {
    return (bx - ax) * (y - ay) - (by - ay) * (x - ax);
}

void setTargetsGoing(LevelMovers& movers, TriggerLine& line) {
    for (std::int32_t k = 0; k < line.targetCount; ++k) {
        const std::int32_t target = movers.targets[static_cast<std::size_t>(line.firstTarget + k)];
        if (target >= 0) {
            setGoing(movers.movers[static_cast<std::size_t>(target)]);
        }
    }
    line.spent = line.once;
}

// How far along the ray from (x, y) in direction (dx, dy) it meets the segment,
// or a negative number when it misses.
float rayHit(float x, float y, float dx, float dy, float ax, float ay, float bx, float by) {
    const float ex = bx - ax;
    const float ey = by - ay;
    const float denominator = dx * ey - dy * ex;
    if (denominator == 0.0f) {
        return -1.0f;
    }
    const float t = ((ax - x) * ey - (ay - y) * ex) / denominator;
    const float u = ((ax - x) * dy - (ay - y) * dx) / denominator;
    return u >= 0.0f && u <= 1.0f && t >= 0.0f ? t : -1.0f;
}

} // namespace

void setGoing(Mover& mover) {
    switch (mover.phase) {
    case MoverPhase::rest:
        startPhase(mover, MoverPhase::going);
        break;
    case MoverPhase::waiting:
    case MoverPhase::returning:
        // A lift keeps to its round; a door is held open or opened again.
        if (mover.ceiling) {
            startPhase(mover, MoverPhase::going);
        }
        break;
    case MoverPhase::going:
    case MoverPhase::stayed:
        break;
    }
}

void stepMovers(LevelMovers& movers, Sector* table, float seconds, std::int32_t walkerSector,
                const WalkerBody& body) {
    const double step = seconds > 0.0f ? static_cast<double>(seconds) : 0.0;
    for (Mover& mover : movers.movers) {
        if (mover.phase == MoverPhase::rest || mover.phase == MoverPhase::stayed) {
            continue;
        }
        Sector& sector = table[mover.sector];
        Mover next = mover;
        advance(next, step);
        const float room = roomWith(mover, sector, mover.height);
        const float nextRoom = roomWith(next, sector, next.height);
        if (mover.sector == walkerSector && nextRoom < room && !(nextRoom > body.height)) {
            // Never down through the walker: a door goes back up, a lift back down.
            if (mover.phase == MoverPhase::going) {
                continue; // opening the other way; it waits where it is
            }
            startPhase(mover, MoverPhase::going);
            continue;
        }
        mover = next;
        (mover.ceiling ? sector.ceilingHeight : sector.floorHeight) = mover.height;
    }
}

void crossWalkLines(LevelMovers& movers, float x0, float y0, float x1, float y1) {
    if (x0 == x1 && y0 == y1) {
        return;
    }
    for (TriggerLine& line : movers.lines) {
        if (!line.walk || line.spent) {
            continue;
        }
        const float before = sideOf(line.ax, line.ay, line.bx, line.by, x0, y0);
        const float after = sideOf(line.ax, line.ay, line.bx, line.by, x1, y1);
        const float atA = sideOf(x0, y0, x1, y1, line.ax, line.ay);
        const float atB = sideOf(x0, y0, x1, y1, line.bx, line.by);
        if ((before < 0.0f) != (after < 0.0f) && (atA < 0.0f) != (atB < 0.0f)) {
            setTargetsGoing(movers, line);
        }
    }
}

bool useLineAhead(LevelMovers& movers, const Sector* table, float x, float y, float angle,
                  std::int32_t sector) {
    const float dx = cosineOf(angle);
    const float dy = sineOf(angle);
    float reach = useReach;
    const Sector& own = table[sector];
    for (std::int32_t w = 0; w < own.wallCount; ++w) {
        const Wall& wall = own.walls[w];
        const float t = rayHit(x, y, dx, dy, wall.a.x, wall.a.y, wall.b.x, wall.b.y);
        if (wall.neighbour < 0 && t >= 0.0f && t < reach) {
            reach = t;
        }
    }
    // A switch on that wall is the wall itself: met at the same distance.
    reach = reach + 1e-4f;
    TriggerLine* nearest = nullptr;
    for (TriggerLine& line : movers.lines) {
        if (line.walk || line.spent || sideOf(line.ax, line.ay, line.bx, line.by, x, y) <= 0.0f) {
            continue;
        }
        const float t = rayHit(x, y, dx, dy, line.ax, line.ay, line.bx, line.by);
        if (t >= 0.0f && t <= reach) {
            reach = t;
            nearest = &line;
        }
    }
    if (nearest == nullptr) {
        return false;
    }
    setTargetsGoing(movers, *nearest);
    return true;
}
