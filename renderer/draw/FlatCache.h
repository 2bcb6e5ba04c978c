#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

constexpr std::uint8_t flatEmpty = 0;
constexpr std::uint8_t flatReady = 1;
constexpr std::uint8_t flatFilling = 2; // one column's thread is filling it

// Depth at which every screen row sees one flat surface, in 24.8 fixed point.
// Filled the first time a frame's column needs it, by whichever thread gets there
// first: a frame costs the surfaces it shows, not every surface of the level.
struct FlatCacheEntry {
    std::atomic<std::uint8_t> valid{flatEmpty}; // flatReady once filled this frame
    std::vector<std::int32_t> rowDepth;         // one a frame row, sized with the frame
    std::vector<std::uint8_t> rowLift;          // each row's flatLift, likewise
};

// Keyed by the sectors' floorKey and ceilingKey; a level has at least this many.
constexpr std::int32_t flatCacheEntries = 16;

// The current view's flat depths: flatCacheSize entries, sized with the level.
extern FlatCacheEntry* flatCache;
extern std::int32_t flatCacheSize;

// Makes room for the given number of flat surfaces (0 frees it), each with a depth
// for every row of the current frame size; called when a level is built or freed
// and when the frame size changes, never while frames are drawn.
void resizeFlatCache(std::int32_t entries);

// Gives an entry a depth and a lift for every row of the current frame size.
void sizeFlatRows(FlatCacheEntry& entry);

// Forgets every cached surface; the eye height and moving sectors change every frame.
void invalidateFlatCache();
