#include "renderer/draw/WallSpans.h"

#include "renderer/draw/CpuRelax.h"
#include "renderer/draw/FrameGeometry.h"
#include "renderer/draw/View.h"

#include <algorithm>
#include <cmath>

WallSpans frameWallSpans;

namespace {

float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y;
}

// How far a hit point may stray from the column's line by rounding: a little,
// and more the farther from the origin the level reaches.
float slackAt(Vec3 eye, Vec3 a) {
    return 1.0f / 64.0f +
           (std::fabs(eye.x) + std::fabs(eye.y) + std::fabs(a.x) + std::fabs(a.y)) / 8192.0f;
}

} // namespace

void WallSpans::resize(const Sector* sectors, std::int32_t sectorCount) {
    sectorCount_ = sectorCount;
    sectors_.reset(sectorCount > 0 ? new SectorSpans[static_cast<std::size_t>(sectorCount)]
                                   : nullptr);
    std::int32_t walls = 0;
    for (std::int32_t s = 0; s < sectorCount; ++s) {
        sectors_[s].first = walls;
        walls += sectors[s].wallCount;
    }
    spans_.reset(walls > 0 ? new Span[static_cast<std::size_t>(walls)] : nullptr);
}

void WallSpans::fill(const View& view, std::int32_t s) {
    const Sector& sector = view.sectors[s];
    SectorSpans& record = sectors_[s];
    Span* spans = spans_.get() + record.first;
    const FrameGeometry& g = frameGeometry;
    const auto lastColumn = static_cast<std::int32_t>(columnSlopes.size()) - 1;
    std::int32_t count = 0;
    for (std::int32_t i = 0; i < sector.wallCount; ++i) {
        const Wall& wall = sector.walls[i];
        const float slack = slackAt(view.eye, wall.a);
        // Seen from behind by the eye, so from behind by every ray of the frame.
        if (dot(wall.normal, view.eye - wall.a) < -slack) {
            continue;
        }
        const Vec3 a = wall.a - wall.unit * slack - view.eye;
        const Vec3 b = wall.b + wall.unit * slack - view.eye;
        const float depthA = dot(a, view.dir);
        const float depthB = dot(b, view.dir);
        if (depthA < -slack && depthB < -slack) {
            continue; // behind the eye
        }
        std::int32_t first = 0;
        std::int32_t last = lastColumn;
        const float near = 4.0f * slack;
        if (depthA > near && depthB > near) {
            // The columns whose slopes lie between those of the two ends, found in
            // the slope table the rays are made from, a column to spare either side.
            const float slopeA = dot(a, view.side) / depthA;
            const float slopeB = dot(b, view.side) / depthB;
            const float spare = g.columnSlopeStep;
            const auto low = std::lower_bound(columnSlopes.begin(), columnSlopes.end(),
                                              std::min(slopeA, slopeB) - spare);
            const auto high = std::upper_bound(columnSlopes.begin(), columnSlopes.end(),
                                               std::max(slopeA, slopeB) + spare);
            if (low == columnSlopes.end() || high == columnSlopes.begin()) {
                continue; // off to one side of the frame
            }
            first = static_cast<std::int32_t>(low - columnSlopes.begin());
            last = static_cast<std::int32_t>(high - columnSlopes.begin()) - 1;
            if (first > last) {
                continue;
            }
        }
        spans[count++] = {first, last, 0, i};
    }
    std::sort(spans, spans + count, [](const Span& x, const Span& y) {
        return x.first < y.first || (x.first == y.first && x.wall < y.wall);
    });
    std::int32_t reach = -1;
    for (std::int32_t k = 0; k < count; ++k) {
        reach = std::max(reach, spans[k].last);
        spans[k].reach = reach;
    }
    record.count = count;
}

const WallSpans::Span* WallSpans::spansOf(const View& view, std::int32_t s, std::int32_t& count) {
    SectorSpans& record = sectors_[s];
    const std::uint64_t ready = 2 * frame_;
    std::uint64_t state = record.state.load(std::memory_order_acquire);
    while (state != ready) {
        if (state == ready + 1) {
            cpuRelax();
            state = record.state.load(std::memory_order_acquire);
        } else if (record.state.compare_exchange_weak(state, ready + 1,
                                                      std::memory_order_acquire)) {
            fill(view, s);
            record.state.store(ready, std::memory_order_release);
            break;
        }
    }
    count = record.count;
    return spans_.get() + record.first;
}
