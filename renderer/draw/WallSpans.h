#pragma once

#include "renderer/level/Level.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>

struct View;

// For the frame being drawn, the walls of each sector that a column's ray can
// meet, each with the screen columns it may cover: a column then tries the walls
// in its own direction instead of every wall of every sector it passes, which in
// a large room are hundreds. A sector's walls are looked at by the first column
// of the frame that enters it, on whichever thread; the others wait for that.
//
// Only walls no ray of their columns could meet are left out, with room to spare
// for rounding: the wall seen from behind, lying behind the eye, or off to the
// side of the column. So the nearest wall a column finds is the one it would find
// among all of them.
class WallSpans {
  public:
    // Room for every wall of the level's sectors; called when a level is built or
    // freed, never while frames are drawn.
    void resize(const Sector* sectors, std::int32_t sectorCount);

    // A new frame (eye, direction, size or walls may have changed): every sector
    // is looked at again when a column first enters it. Called between frames.
    void startFrame() { frame_ += 1; }

    // Calls tryWall(i) for each wall i of sector s that the ray of the given column
    // may meet, in no set order; the ray misses every other wall of the sector.
    template <class TryWall>
    void forWallsMet(const View& view, std::int32_t s, std::int32_t column, TryWall tryWall) {
        std::int32_t count = 0;
        const Span* spans = spansOf(view, s, count);
        // In order of their first column: those starting after the column are past
        // it, and going back, none before a reach short of it gets to it.
        const Span* span = std::upper_bound(
            spans, spans + count, column,
            [](std::int32_t c, const Span& candidate) { return c < candidate.first; });
        for (; span != spans && (span - 1)->reach >= column; --span) {
            if ((span - 1)->last >= column) {
                tryWall((span - 1)->wall);
            }
        }
    }

  private:
    struct Span {
        std::int32_t first; // columns [first, last] may see the wall
        std::int32_t last;
        std::int32_t reach; // the largest last of this span and every span before it
        std::int32_t wall;
    };
    struct SectorSpans {
        std::atomic<std::uint64_t> state{0}; // 2 x frame once ready, + 1 while being filled
        std::int32_t first = 0;              // its spans in spans_
        std::int32_t count = 0;
    };

    // The sector's spans for this frame, filled first if no column has yet.
    const Span* spansOf(const View& view, std::int32_t s, std::int32_t& count);
    void fill(const View& view, std::int32_t s);

    std::unique_ptr<SectorSpans[]> sectors_;
    std::unique_ptr<Span[]> spans_;
    std::int32_t sectorCount_ = 0;
    std::uint64_t frame_ = 1;
};

// The spans of the frames drawFrame and drawView draw.
extern WallSpans frameWallSpans;
