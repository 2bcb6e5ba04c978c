#include "renderer/draw/Traversal.h"

#include "renderer/draw/ColumnDrawing.h"
#include "renderer/draw/ColumnThings.h"
#include "renderer/draw/CornerRun.h"
#include "renderer/draw/WallAnchors.h"
#include "renderer/draw/WallSpans.h"

#include <algorithm>

std::int32_t maxSectorVisits = minSectorVisits;
std::int32_t deepestColumnVisits = 0;

namespace {

constexpr float noHitDepth = 1000000.0f;
// How far past a corner the ray looks for the sector it goes on into: well inside
// the thinnest sector a map has, well outside the rounding of the corner itself.
constexpr float pastCorner = 1.0f / 1024.0f;

float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Inlined into the nearest-hit search, so the hit stays in registers instead of
// going through memory for every wall tested.
[[gnu::always_inline]] inline bool meetWall(const Ray& ray, const Wall& wall, WallHit& hit) {
    const Vec3& unit = wall.unit;
    const Vec3& normal = wall.normal;

    // A ray moving towards the front side could only meet the wall from behind.
    const float facing = dot(normal, -ray.direction);
    if (facing < 0.0f) {
        return false;
    }
    const Vec3 fromStart = ray.origin - wall.a;
    const float inFront = dot(normal, fromStart);
    if (inFront < 0.0f) {
        return false;
    }
    // A ray parallel to the wall gives an infinite or NaN position: no usable hit.
    const float along = inFront * dot(unit, ray.direction) / facing + dot(unit, fromStart);
    if (along < 0.0f || along > wall.length) {
        return false;
    }
    hit.point = wall.a + unit * along;
    hit.along = along;
    return true;
}

// The same with a little slack, for a ray that the exact test lets slip between
// two walls at their shared corner (rounding puts the hit just past both ends) or
// that starts a hair behind a wall: the hit is pulled onto the wall.
bool meetWallLoosely(const Ray& ray, const Wall& wall, WallHit& hit) {
    constexpr float slack = 1.0f / 256.0f;
    const float facing = dot(wall.normal, -ray.direction);
    if (!(facing > 0.0f)) {
        return false;
    }
    const Vec3 fromStart = ray.origin - wall.a;
    const float inFront = dot(wall.normal, fromStart);
    if (inFront < -slack) {
        return false;
    }
    const float along =
        inFront * dot(wall.unit, ray.direction) / facing + dot(wall.unit, fromStart);
    if (!(along >= -slack && along <= wall.length + slack)) {
        return false;
    }
    hit.along = std::clamp(along, 0.0f, wall.length);
    hit.point = wall.a + wall.unit * hit.along;
    return true;
}

struct NearestHit {
    const Wall* wall;
    float depth;
    WallHit hit;
};

// Rooms of a few walls are searched whole: sorting out the walls first costs more.
constexpr std::int32_t fewWalls = 12;

// Keeps wall i of the sector where the ray meets it (as meet says) nearer than
// the nearest so far; of two at the same depth the earlier in the list is kept,
// also where the walls are tried in no set order (anyOrder). A NaN depth is never
// taken.
template <bool (*meet)(const Ray&, const Wall&, WallHit&), bool anyOrder = false>
void keepIfNearer(const View& view, const Sector& sector, std::int32_t i, const Ray& ray,
                  NearestHit& nearest) {
    WallHit hit;
    if (!meet(ray, sector.walls[i], hit)) {
        return;
    }
    const float depth = dot(hit.point - view.eye, view.dir);
    if (depth < nearest.depth || (anyOrder && depth == nearest.depth && nearest.wall != nullptr &&
                                  &sector.walls[i] < nearest.wall)) {
        nearest = {&sector.walls[i], depth, hit};
    }
}

// The first wall of the list at the smallest depth: of the walls the column can
// meet where the sector has many, else of all; then, where none is met, of all
// met loosely.
NearestHit findNearestWall(const View& view, std::int32_t s, std::int32_t column, const Ray& ray) {
    const Sector& sector = view.sectors[s];
    NearestHit nearest = {nullptr, noHitDepth, {}};
    if (view.spans != nullptr && sector.wallCount > fewWalls) {
        view.spans->forWallsMet(view, s, column, [&](std::int32_t i) {
            keepIfNearer<meetWall, true>(view, sector, i, ray, nearest);
        });
    } else {
        for (std::int32_t i = 0; i < sector.wallCount; ++i) {
            keepIfNearer<meetWall>(view, sector, i, ray, nearest);
        }
    }
    if (nearest.wall != nullptr) {
        return nearest;
    }
    for (std::int32_t i = 0; i < sector.wallCount; ++i) {
        keepIfNearer<meetWallLoosely>(view, sector, i, ray, nearest);
    }
    return nearest;
}

// Follows the ray from sector to sector, keeping the see-through middles it passes;
// returns the number of sectors visited. With passCorners, a ray that a corner
// would hand back and forth goes on into the sector just beyond the corner.
std::int32_t followRay(const View& view, ColumnState& state, const FlatRowStep& flatRay,
                       std::int32_t column, std::int32_t s, Ray ray, std::int32_t visitsLeft,
                       bool passCorners, ColumnMiddles& middles, ColumnCrossings* crossings) {
    std::int32_t visits = 0;
    CornerRun corner;
    while (true) {
        ++visits;
        if (passCorners && corner.standsAgain(s, ray.origin)) {
            const Vec3 past = ray.origin + ray.direction * pastCorner;
            s = corner.sectorBeyond(view, past);
            if (s < 0) {
                return visits;
            }
            corner.clear();
            ray = Ray{past, ray.direction};
        }
        const Sector& sector = view.sectors[s];
        if (sector.wallCount < 1) {
            return visits;
        }
        const NearestHit nearest = findNearestWall(view, s, column, ray);
        if (nearest.wall == nullptr) {
            return visits; // the open rows keep the previous frame's pixels
        }
        const Wall& wall = *nearest.wall;
        const Sector& behind = wall.neighbour == -1 ? solidSector : view.sectors[wall.neighbour];

        const std::int32_t middleRows =
            wall.middleTexture >= 0 ? textures[wall.middleTexture].height : 0;
        const WallAnchors anchors = anchorWall(wall, nearest.hit.along, sector, behind, middleRows);
        drawHit(view, state, flatRay, nearest.depth, sector, behind,
                {wall.lowerTexture, wall.upperTexture, wall.contrast, anchors.lowerShift,
                 anchors.upperShift},
                anchors.u);

        if (state.top == state.bottom || wall.neighbour == -1) {
            if (crossings != nullptr) {
                crossings->add(nearest.depth, state.top, state.top, middles.count);
            }
            return visits;
        }
        if (wall.middleTexture >= 0) {
            keepMiddle(view, state, nearest.depth, sector, anchors.middleTop, wall.middleTexture,
                       wall.contrast, anchors.u, middles);
        }
        if (crossings != nullptr) {
            crossings->add(nearest.depth, state.top, state.bottom, middles.count);
        }
        if (visitsLeft <= 1) {
            return visits;
        }
        s = wall.neighbour;
        ray = Ray{nearest.hit.point, ray.direction};
        --visitsLeft;
    }
}

std::int32_t traverse(const View& view, ColumnState& state, const FlatRowStep& flatRay,
                      std::int32_t column, std::int32_t s, const Ray& ray,
                      std::int32_t visitsLeft) {
    // The scripted animation's frames are pinned as first drawn, when a ray through
    // a corner two portals share went round to the visit bound and left its open
    // rows showing the frame before (frame 6566). Every other level's frames get
    // the sector beyond the corner instead, so none of them shows such a hole.
    const bool passCorners = !levelStart.scripted;
    ColumnMiddles middles;
    if (view.things == nullptr || view.things->count == 0) {
        const std::int32_t visits = followRay(view, state, flatRay, column, s, ray, visitsLeft,
                                              passCorners, middles, nullptr);
        middles.draw();
        return visits;
    }
    ColumnCrossings crossings;
    crossings.top = state.top;
    crossings.bottom = state.bottom;
    const std::int32_t visits = followRay(view, state, flatRay, column, s, ray, visitsLeft,
                                          passCorners, middles, &crossings);
    drawColumnThings(*view.things, state, column, crossings, middles);
    return visits;
}

} // namespace

bool intersectWall(const Ray& ray, const Wall& wall, WallHit& hit) {
    return meetWall(ray, wall, hit);
}

std::int32_t renderColumn(const View& view, ColumnState& state, std::int32_t column,
                          std::int32_t sector, const Ray& ray) {
    const std::int32_t sky = skyColumnFor(ray.direction.x, ray.direction.y);
    if (sky >= 0) {
        state.sky = textures[skyTexture].pixels + sky * textures[skyTexture].height;
    }
    return traverse(view, state, flatColumnRay(view, column), column, sector, ray, maxSectorVisits);
}
