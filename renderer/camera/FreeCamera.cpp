#include "renderer/camera/FreeCamera.h"

#include "renderer/draw/FixedPoint.h"
#include "renderer/level/LevelThings.h"

#include <cmath>

namespace {

constexpr float pi = 3.14159274f;
constexpr float twoPi = 6.28318548f;
constexpr float halfDiagonal = 0.70710677f; // walking and strafing at once is no faster
// Each piece of a move is well under the clearance, so a wall is always met from
// the side the eye is on and pushing out can never carry it through.
constexpr float longestMove = 0.1f;
constexpr int mostMovePieces = 8;
constexpr float pushSlop = 1e-4f; // pushed a little past the clearance, against rounding
constexpr int pushRounds = 4;
constexpr int settleRounds = 64;
// Sectors whose portals come this near the eye are searched for walls to keep clear
// of: well beyond one piece of a move and the pushes that follow it. Entering
// explore mode may push the eye further.
constexpr float stepReach = 2.0f;
constexpr float placeReach = 4.0f;

// A wider body pushes farther: the reach grows with it beyond the default's.
float reachFor(const WalkerBody& body) {
    return std::fmax(stepReach, 4.0f * body.radius + 1.0f);
}
// In a large level the sectors near the eye are a few of many; more than this many
// within reach of one spot are not looked at.
constexpr int mostNearSectors = 256;
// How far behind a portal's line an eye still counts as a rounding error of being
// on it; a real step across goes far beyond.
constexpr float portalSlack = 1e-5f;

// What the walk goes by besides the sectors: the moving ones, and the body.
struct Rules {
    MovingSectors moving;
    WalkerBody body;
};

struct Point {
    float x;
    float y;
};

float wrapAngle(float angle) {
    if (!std::isfinite(angle)) {
        return 0.0f;
    }
    while (angle > pi) {
        angle -= twoPi;
    }
    while (angle <= -pi) {
        angle += twoPi;
    }
    return angle;
}

// The wall's unit front normal and how far the point lies in front of its line,
// computed as the traversal does, so the eye's sector agrees with what it draws.
float inFrontOf(const Wall& wall, Point p, Point& normal) {
    const Vec3 d = wall.b - wall.a;
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    const Vec3 unit = d * (1.0f / length);
    normal = {-unit.y, unit.x};
    return normal.x * (p.x - wall.a.x) + normal.y * (p.y - wall.a.y);
}

// True when p lies across the wall's line from some point of the wall itself.
bool alongWall(const Wall& wall, Point p) {
    const float dx = wall.b.x - wall.a.x;
    const float dy = wall.b.y - wall.a.y;
    const float along = (p.x - wall.a.x) * dx + (p.y - wall.a.y) * dy;
    return along >= 0.0f && along <= dx * dx + dy * dy;
}

// Distance from p to the wall's segment and the segment's point closest to p.
float distanceToWall(const Wall& wall, Point p, Point& closest) {
    const float dx = wall.b.x - wall.a.x;
    const float dy = wall.b.y - wall.a.y;
    const float lengthSquared = dx * dx + dy * dy;
    float t = ((p.x - wall.a.x) * dx + (p.y - wall.a.y) * dy) / lengthSquared;
    t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    closest = {wall.a.x + dx * t, wall.a.y + dy * t};
    const float ox = p.x - closest.x;
    const float oy = p.y - closest.y;
    return std::sqrt(ox * ox + oy * oy);
}

// The sectors reachable from the start one through portals within reach of a
// point: every wall the eye can touch from there belongs to one of them.
struct SectorSet {
    std::int32_t index[mostNearSectors];
    int count = 0;

    bool contains(std::int32_t s) const {
        for (int i = 0; i < count; ++i) {
            if (index[i] == s) {
                return true;
            }
        }
        return false;
    }
};

SectorSet nearSectors(const Sector* level, std::int32_t start, Point centre, float reach) {
    SectorSet set;
    set.index[set.count++] = start;
    for (int next = 0; next < set.count; ++next) {
        const Sector& sector = level[set.index[next]];
        for (std::int32_t w = 0; w < sector.wallCount; ++w) {
            const Wall& wall = sector.walls[w];
            Point closest;
            if (wall.neighbour < 0 || set.count == mostNearSectors ||
                set.contains(wall.neighbour) || distanceToWall(wall, centre, closest) > reach) {
                continue;
            }
            set.index[set.count++] = wall.neighbour;
        }
    }
    return set;
}

// A moving sector is judged at rest (lift 0).
Sector judged(const Sector* level, const Rules& rules, std::int32_t index) {
    Sector sector = level[index];
    for (std::int32_t m = 0; m < rules.moving.count; ++m) {
        if (rules.moving.motions[m].sector == index) {
            sector.floorHeight = rules.moving.motions[m].floor;
            sector.ceilingHeight = rules.moving.motions[m].ceiling;
        }
    }
    return sector;
}

bool mayPass(const Sector* level, const Rules& rules, std::int32_t from, std::int32_t to) {
    return portalPassable(judged(level, rules, from), judged(level, rules, to), rules.body);
}

// The eye keeps clear of a solid wall, and of a portal of its own sector that it
// cannot pass.
bool blocks(const Sector* level, const Rules& rules, std::int32_t own, std::int32_t sector,
            const Wall& wall) {
    if (wall.neighbour == -1) {
        return true;
    }
    return sector == own && (wall.blocking || !mayPass(level, rules, own, wall.neighbour));
}

// Pushes p out to radius + the body's radius from every solid thing nearer; true
// when none was that near.
bool pushClearOfThings(float bodyRadius, Point& p) {
    bool clear = true;
    for (std::int32_t t = 0; t < levelThingCount; ++t) {
        const Thing& thing = levelThings[t];
        if (!thing.solid) {
            continue;
        }
        const float dx = p.x - thing.x;
        const float dy = p.y - thing.y;
        const float reach = thing.radius + bodyRadius;
        const float distance = std::sqrt(dx * dx + dy * dy);
        if (distance >= reach) {
            continue;
        }
        clear = false;
        const float target = reach + pushSlop;
        if (distance > 0.0f) {
            const float scale = target / distance;
            p = {thing.x + dx * scale, thing.y + dy * scale};
        } else {
            p = {thing.x + target, thing.y};
        }
    }
    return clear;
}

// Pushes p out of the clearance of every wall near it that blocks an eye in sector
// own, and of every solid thing; true when p ends clear of all of them. Pushing away from the
// closest point turns a step into a wall into a slide along it.
bool pushClear(const Sector* level, const Rules& rules, std::int32_t own, const SectorSet& near,
               Point& p, int rounds) {
    for (int round = 0; round < rounds; ++round) {
        bool clear = true;
        for (int i = 0; i < near.count; ++i) {
            const Sector& sector = level[near.index[i]];
            for (std::int32_t w = 0; w < sector.wallCount; ++w) {
                const Wall& wall = sector.walls[w];
                if (!blocks(level, rules, own, near.index[i], wall)) {
                    continue;
                }
                Point closest;
                const float distance = distanceToWall(wall, p, closest);
                if (distance >= rules.body.radius) {
                    continue;
                }
                clear = false;
                const float target = rules.body.radius + pushSlop;
                if (distance > 0.0f) {
                    const float scale = target / distance;
                    p = {closest.x + (p.x - closest.x) * scale,
                         closest.y + (p.y - closest.y) * scale};
                } else {
                    Point normal;
                    inFrontOf(wall, p, normal);
                    p = {closest.x + normal.x * target, closest.y + normal.y * target};
                }
            }
        }
        clear = pushClearOfThings(rules.body.radius, p) && clear;
        if (clear) {
            return true;
        }
    }
    return false;
}

// Even-odd rule over the sector's walls, which form closed loops (a room with a
// hole in it too). Each edge is taken from its lower end, so the two walls of a
// portal decide a point near it the same way from both sides.
bool insideSector(const Sector& sector, Point p) {
    bool inside = false;
    for (std::int32_t w = 0; w < sector.wallCount; ++w) {
        Vec3 low = sector.walls[w].a;
        Vec3 high = sector.walls[w].b;
        if (low.y > high.y) {
            const Vec3 swap = low;
            low = high;
            high = swap;
        }
        if ((low.y > p.y) != (high.y > p.y)) {
            const float crossX = low.x + (p.y - low.y) * (high.x - low.x) / (high.y - low.y);
            if (p.x < crossX) {
                inside = !inside;
            }
        }
    }
    return inside;
}

// The sector holding p: the given one when it does, else the first of the set
// that does; -1 when none does.
std::int32_t sectorAt(const Sector* level, const SectorSet& candidates, std::int32_t preferred,
                      Point p) {
    if (insideSector(level[preferred], p)) {
        return preferred;
    }
    for (int i = 0; i < candidates.count; ++i) {
        if (insideSector(level[candidates.index[i]], p)) {
            return candidates.index[i];
        }
    }
    return -1;
}

// The traversal sees a wall only from in front of its line: an eye a rounding
// error behind a portal of its own room, right by it, would leave the columns
// through that portal undrawn. Such an eye is moved just onto the front side.
bool faceOwnPortals(const Sector& sector, Point& p) {
    for (int round = 0; round < pushRounds; ++round) {
        bool facing = true;
        for (std::int32_t w = 0; w < sector.wallCount; ++w) {
            const Wall& wall = sector.walls[w];
            Point normal;
            const float inFront = inFrontOf(wall, p, normal);
            if (wall.neighbour == -1 || inFront >= 0.0f || inFront <= -portalSlack ||
                !alongWall(wall, p)) {
                continue;
            }
            facing = false;
            const float shift = portalSlack - inFront;
            p = {p.x + normal.x * shift, p.y + normal.y * shift};
        }
        if (facing) {
            return true;
        }
    }
    return false;
}

// Finds the room of a new eye position among the candidates and keeps the eye in
// front of that room's portals; false when the position belongs to no room.
bool settle(const Sector* level, const SectorSet& candidates, std::int32_t& sector, Point& p) {
    for (int round = 0; round < pushRounds; ++round) {
        const std::int32_t holder = sectorAt(level, candidates, sector, p);
        if (holder < 0) {
            return false;
        }
        sector = holder;
        const Point before = p;
        if (!faceOwnPortals(level[sector], p)) {
            return false;
        }
        if (p.x == before.x && p.y == before.y) {
            return true;
        }
    }
    return false;
}

// True when the eye may go from one sector to the other: through a portal it can
// pass, or, where a piece of a move crosses a corner, through two.
bool mayEnter(const Sector* level, const Rules& rules, std::int32_t from, std::int32_t to) {
    if (from == to) {
        return true;
    }
    const Sector& start = level[from];
    for (std::int32_t w = 0; w < start.wallCount; ++w) {
        const std::int32_t between = start.walls[w].neighbour;
        if (between < 0 || start.walls[w].blocking || !mayPass(level, rules, from, between)) {
            continue;
        }
        if (between == to) {
            return true;
        }
        const Sector& middle = level[between];
        for (std::int32_t v = 0; v < middle.wallCount; ++v) {
            if (middle.walls[v].neighbour == to && !middle.walls[v].blocking &&
                mayPass(level, rules, between, to)) {
                return true;
            }
        }
    }
    return false;
}

void walk(const Sector* level, const Rules& rules, FreeCamera& camera, Point move) {
    const float length = std::sqrt(move.x * move.x + move.y * move.y);
    if (!(length > 0.0f)) {
        return;
    }
    int pieces = static_cast<int>(std::ceil(length / longestMove));
    pieces = pieces < 1 ? 1 : (pieces > mostMovePieces ? mostMovePieces : pieces);
    const Point piece = {move.x / static_cast<float>(pieces), move.y / static_cast<float>(pieces)};
    for (int i = 0; i < pieces; ++i) {
        const Point from = {camera.x, camera.y};
        Point to = {from.x + piece.x, from.y + piece.y};
        const SectorSet near = nearSectors(level, camera.sector, from, reachFor(rules.body));
        // A corner too tight to settle in a few pushes keeps the eye where it was.
        if (!pushClear(level, rules, camera.sector, near, to, pushRounds)) {
            continue;
        }
        std::int32_t sector = camera.sector;
        if (!settle(level, near, sector, to) || !mayEnter(level, rules, camera.sector, sector)) {
            continue;
        }
        camera.x = to.x;
        camera.y = to.y;
        camera.sector = sector;
    }
}

} // namespace

bool portalPassable(const Sector& from, const Sector& to, const WalkerBody& body) {
    const float floor = std::fmax(from.floorHeight, to.floorHeight);
    const float ceiling = std::fmin(from.ceilingHeight, to.ceilingHeight);
    return ceiling - floor > body.height && to.floorHeight - from.floorHeight <= body.step;
}

float eyeHeightIn(const Sector& sector, const WalkerBody& body) {
    const float room = sector.ceilingHeight - sector.floorHeight;
    if (room > body.height) {
        return sector.floorHeight + body.eye;
    }
    return sector.floorHeight + room * 0.5f;
}

FreeCamera cameraFromView(float x, float y, float dirX, float dirY, std::int32_t sector,
                          const Sector* level, MovingSectors moving, const WalkerBody& body) {
    const Rules rules = {moving, body};
    FreeCamera camera;
    Point p = {x, y};
    const SectorSet near = nearSectors(level, sector, p, placeReach);
    pushClear(level, rules, sector, near, p, settleRounds);
    settle(level, near, sector, p);
    camera.x = p.x;
    camera.y = p.y;
    camera.sector = sector;
    camera.angle = wrapAngle(
        static_cast<float>(std::atan2(static_cast<double>(dirY), static_cast<double>(dirX))));
    camera.z = eyeHeightIn(level[sector], body);
    return camera;
}

FreeCamera stepFreeCamera(const FreeCamera& camera, const MoveInput& input, float elapsed,
                          const Sector* level, MovingSectors moving, const WalkerBody& body) {
    const Rules rules = {moving, body};
    // Negative, NaN and stalled clocks: never backwards, never more than one long step.
    const float seconds = elapsed > 0.0f ? (elapsed < longestStep ? elapsed : longestStep) : 0.0f;
    FreeCamera next = camera;

    float turn = 0.0f;
    if (input.turnLeft) {
        turn += turnSpeed * seconds;
    }
    if (input.turnRight) {
        turn -= turnSpeed * seconds;
    }
    float mouseTurn = input.mouseTurn;
    if (!(mouseTurn >= -pi && mouseTurn <= pi)) {
        mouseTurn = mouseTurn > pi ? pi : (mouseTurn < -pi ? -pi : 0.0f);
    }
    next.angle = wrapAngle(camera.angle + turn + mouseTurn);

    const float ahead = static_cast<float>(input.forward) - static_cast<float>(input.back);
    const float right =
        static_cast<float>(input.strafeRight) - static_cast<float>(input.strafeLeft);
    const float c = cosineOf(next.angle);
    const float s = sineOf(next.angle);
    // Forward is (cos, sin); right is the side vector (sin, -cos), as in the view.
    float distance = walkSpeed * seconds;
    if (ahead != 0.0f && right != 0.0f) {
        distance = distance * halfDiagonal;
    }
    walk(level, rules, next,
         {(c * ahead + s * right) * distance, (s * ahead - c * right) * distance});
    next.z = eyeHeightIn(level[next.sector], body);
    return next;
}
