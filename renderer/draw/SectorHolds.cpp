#include "renderer/draw/SectorHolds.h"

bool sectorHolds(const Sector& sector, float x, float y) {
    bool inside = false;
    for (std::int32_t i = 0; i < sector.wallCount; ++i) {
        const Vec3 a = sector.walls[i].a;
        const Vec3 b = sector.walls[i].b;
        if ((a.y > y) != (b.y > y)) {
            const float crossing = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (x < crossing) {
                inside = !inside;
            }
        }
    }
    return inside;
}
