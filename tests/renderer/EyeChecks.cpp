#include "EyeChecks.h"

#include "renderer/camera/FreeCamera.h"

#include <cmath>
#include <sstream>

namespace {

// Allowed shortfall against the clearance: the pushes land a little beyond it, so
// this only absorbs printing and rounding.
constexpr float clearanceTolerance = 1e-3f;

// As the traversal computes it.
float inFront(const Wall& wall, float x, float y) {
    const float dx = wall.b.x - wall.a.x;
    const float dy = wall.b.y - wall.a.y;
    const float length = std::sqrt(dx * dx + dy * dy);
    const float ux = dx * (1.0f / length);
    const float uy = dy * (1.0f / length);
    return -uy * (x - wall.a.x) + ux * (y - wall.a.y);
}

float distanceToSegment(const Wall& wall, float x, float y) {
    const double dx = wall.b.x - wall.a.x;
    const double dy = wall.b.y - wall.a.y;
    double t = ((x - wall.a.x) * dx + (y - wall.a.y) * dy) / (dx * dx + dy * dy);
    t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
    return static_cast<float>(std::hypot(x - (wall.a.x + dx * t), y - (wall.a.y + dy * t)));
}

// Across the line from the wall's segment, by no more than a rounding error.
bool onWallLine(const Wall& wall, float x, float y) {
    const double dx = wall.b.x - wall.a.x;
    const double dy = wall.b.y - wall.a.y;
    const double t = ((x - wall.a.x) * dx + (y - wall.a.y) * dy) / (dx * dx + dy * dy);
    return t >= 0.0 && t <= 1.0 && std::fabs(inFront(wall, x, y)) < 1e-5f;
}

// A position read back from printed text on a portal's line may belong to either
// side.
bool onOwnPortal(const Sector& sector, float x, float y) {
    for (std::int32_t w = 0; w < sector.wallCount; ++w) {
        if (sector.walls[w].neighbour >= 0 && onWallLine(sector.walls[w], x, y)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string eyeOutsideLevel(float x, float y, float z, std::int32_t sector, const Sector* level,
                            std::int32_t sectorCount, bool exact) {
    std::ostringstream why;
    if (sector < 0 || sector >= sectorCount) {
        why << "sector " << sector << " does not exist";
        return why.str();
    }
    const std::int32_t holder = sectorHolding(x, y, level, sectorCount);
    if (holder != sector && !(!exact && onOwnPortal(level[sector], x, y))) {
        why << "the eye is in sector " << holder << ", not in sector " << sector;
        return why.str();
    }
    const Sector& own = level[sector];
    for (std::int32_t w = 0; w < own.wallCount; ++w) {
        // Rays from an eye a hair behind a wall of its own sector miss that wall.
        if (exact && onWallLine(own.walls[w], x, y) && inFront(own.walls[w], x, y) < 0.0f) {
            why << "just behind wall " << w << " of sector " << sector;
            return why.str();
        }
    }
    for (std::int32_t s = 0; s < sectorCount; ++s) {
        for (std::int32_t w = 0; w < level[s].wallCount; ++w) {
            const Wall& wall = level[s].walls[w];
            if (wall.neighbour == -1 &&
                distanceToSegment(wall, x, y) < wallClearance - clearanceTolerance) {
                why << "closer than " << wallClearance << " to wall " << w << " of sector " << s;
                return why.str();
            }
        }
    }
    if (!(z > own.floorHeight && z < own.ceilingHeight)) {
        why << "eye height " << z << " not between floor " << own.floorHeight << " and ceiling "
            << own.ceilingHeight;
        return why.str();
    }
    return {};
}

// Even-odd rule over the sector's walls, which form closed loops (a room with a
// hole in it included).
std::int32_t sectorHolding(float x, float y, const Sector* level, std::int32_t sectorCount) {
    for (std::int32_t s = 0; s < sectorCount; ++s) {
        bool inside = false;
        for (std::int32_t w = 0; w < level[s].wallCount; ++w) {
            const Vec3 a = level[s].walls[w].a;
            const Vec3 b = level[s].walls[w].b;
            if ((a.y > y) != (b.y > y)) {
                const double crossX =
                    a.x + (static_cast<double>(y) - a.y) * (b.x - a.x) / (b.y - a.y);
                if (x < crossX) {
                    inside = !inside;
                }
            }
        }
        if (inside) {
            return s;
        }
    }
    return -1;
}
