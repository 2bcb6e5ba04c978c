#include "renderer/draw/CornerRun.h"

#include "renderer/draw/SectorHolds.h"
#include "renderer/level/Level.h"

#include <cmath>

namespace {

// Wall ends and the spot the ray stands at are rounded apart by a few units in
// the last place of level coordinates; no two corners of a map are this close.
constexpr float cornerReach = 1.0f / 512.0f;
constexpr std::int32_t maxFan = 16;

bool near(Vec3 a, Vec3 b) {
    return std::fabs(a.x - b.x) <= cornerReach && std::fabs(a.y - b.y) <= cornerReach;
}

bool listed(const std::int32_t* list, std::int32_t count, std::int32_t sector) {
    for (std::int32_t i = 0; i < count; ++i) {
        if (list[i] == sector) {
            return true;
        }
    }
    return false;
}

} // namespace

bool CornerRun::standsAgain(std::int32_t sector, Vec3 point) {
    if (count_ == 0 || point.x != point_.x || point.y != point_.y) {
        point_ = point;
        count_ = 0;
    }
    if (listed(sectors_, count_, sector)) {
        return true;
    }
    if (count_ < capacity) {
        sectors_[count_++] = sector;
    }
    return false;
}

std::int32_t CornerRun::sectorBeyond(const View& view, Vec3 past) const {
    std::int32_t fan[maxFan];
    std::int32_t count = 0;
    for (std::int32_t i = 0; i < count_; ++i) {
        fan[count++] = sectors_[i];
    }
    for (std::int32_t f = 0; f < count; ++f) {
        const Sector& sector = view.sectors[fan[f]];
        if (sectorHolds(sector, past.x, past.y)) {
            return fan[f];
        }
        for (std::int32_t i = 0; i < sector.wallCount && count < maxFan; ++i) {
            const Wall& wall = sector.walls[i];
            if (wall.neighbour >= 0 && (near(wall.a, point_) || near(wall.b, point_)) &&
                !listed(fan, count, wall.neighbour)) {
                fan[count++] = wall.neighbour;
            }
        }
    }
    return -1;
}
