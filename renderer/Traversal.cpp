#include "renderer/Traversal.h"

#include "renderer/ColumnDrawing.h"
#include "renderer/FrameLoop.h"

#include <cmath>

std::int32_t lastColumnVisits = 0;
std::int32_t deepestColumnVisits = 0;

namespace {

constexpr float noHitDepth = 1000000.0f;

float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

struct NearestHit {
    const Wall* wall;
    float depth;
    WallHit hit;
};

// The first wall of the list at the smallest depth; a NaN depth is never taken.
NearestHit findNearestWall(const Sector& sector, const Ray& ray) {
    NearestHit nearest = {nullptr, noHitDepth, {}};
    for (std::int32_t i = 0; i < sector.wallCount; ++i) {
        WallHit hit;
        if (!intersectWall(ray, sector.walls[i], hit)) {
            continue;
        }
        const float depth = dot(hit.point - cameraPos, viewDir);
        if (depth < nearest.depth) {
            nearest = {&sector.walls[i], depth, hit};
        }
    }
    return nearest;
}

void traverse(std::int32_t column, std::int32_t s, const Ray& ray, std::int32_t visitsLeft) {
    ++lastColumnVisits;
    const Sector& sector = sectors[s];
    if (sector.wallCount < 1) {
        return;
    }
    const NearestHit nearest = findNearestWall(sector, ray);
    if (nearest.wall == nullptr) {
        return; // the open rows keep the previous frame's pixels
    }
    const Wall& wall = *nearest.wall;
    const Sector& behind = wall.neighbour == -1 ? solidSector : sectors[wall.neighbour];
    const float depth = nearest.depth;
    const float u = nearest.hit.along * 16.0f;

    drawColumnPart(column, sector.floorHeight, depth, floorSide, sector.floorTexture, flatSpan,
                   0.0f, 2 * s);
    drawColumnPart(column, sector.ceilingHeight, depth, ceilingSide, sector.ceilingTexture,
                   flatSpan, 0.0f, 2 * s + 1);
    // The visible wall pieces are the neighbour's floor and ceiling steps.
    drawColumnPart(column, behind.floorHeight, depth, floorSide, behind.wallTexture, wallPiece, u,
                   0);
    drawColumnPart(column, behind.ceilingHeight, depth, ceilingSide, behind.wallTexture, wallPiece,
                   u, 0);

    if (clipTop == clipBottom || wall.neighbour == -1 || visitsLeft <= 1) {
        return;
    }
    traverse(column, wall.neighbour, Ray{nearest.hit.point, ray.direction}, visitsLeft - 1);
}

} // namespace

bool intersectWall(const Ray& ray, const Wall& wall, WallHit& hit) {
    const Vec3 d = wall.b - wall.a;
    const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    const Vec3 unit = d * (1.0f / length);
    const Vec3 normal = {-unit.y, unit.x, 0.0f};

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
    if (along < 0.0f || along > length) {
        return false;
    }
    hit.point = wall.a + unit * along;
    hit.along = along;
    return true;
}

void renderColumn(std::int32_t column, std::int32_t sector, Ray ray) {
    lastColumnVisits = 0;
    traverse(column, sector, ray, maxSectorVisits);
    if (lastColumnVisits > deepestColumnVisits) {
        deepestColumnVisits = lastColumnVisits;
    }
}
