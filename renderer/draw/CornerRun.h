#pragma once

#include "renderer/draw/View.h"
#include "renderer/level/Vec3.h"

#include <cstdint>

// The sectors a ray has stood in at one spot, one after another: it passes from
// one to the next through walls whose end points meet there. A ray through a
// corner that two portals share can be handed back and forth between their
// sectors at that spot for ever; returning to a sector at the very point it stood
// there before is how such a loop shows itself, since the same start gives the
// same step again.
class CornerRun {
  public:
    // The ray stands in sector at point. True when it stood there before in this
    // run: it would go round for ever.
    bool standsAgain(std::int32_t sector, Vec3 point);

    // The sector of the corner's fan (the run's sectors and their neighbours
    // through walls ending at the corner) that holds past, a point just beyond the
    // corner along the ray; -1 when none does.
    std::int32_t sectorBeyond(const View& view, Vec3 past) const;

    // Forgets the run, as when the ray has moved on from its spot.
    void clear() { count_ = 0; }

  private:
    static constexpr std::int32_t capacity = 8;
    std::int32_t count_ = 0;
    Vec3 point_ = {0.0f, 0.0f, 0.0f};
    std::int32_t sectors_[capacity] = {};
};
