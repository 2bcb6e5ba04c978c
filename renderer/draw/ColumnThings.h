#pragma once

#include "renderer/draw/ColumnDrawing.h"
#include "renderer/draw/ColumnMiddles.h"
#include "renderer/draw/FrameThings.h"

#include <cstdint>

// What a thing in one column may show through: the window the column had after
// each wall it met, nearest first, and how many middles it had kept by then.
struct ColumnCrossing {
    float depth;
    std::int32_t top; // the open rows [top, bottom) left behind the wall
    std::int32_t bottom;
    std::int32_t middles;
};

// The most walls one column remembers; past them the last one's window shrinks.
constexpr std::int32_t maxColumnCrossings = 128;

struct ColumnCrossings {
    std::int32_t top = 0; // the window before any wall
    std::int32_t bottom = 0;
    ColumnCrossing list[maxColumnCrossings];
    std::int32_t count = 0;

    // A wall met at depth; a solid one or one that closed the window leaves
    // top == bottom.
    void add(float depth, std::int32_t windowTop, std::int32_t windowBottom,
             std::int32_t middlesKept) {
        const std::int32_t at = count < maxColumnCrossings ? count++ : count - 1;
        list[at] = {depth, windowTop, windowBottom, middlesKept};
    }
};

// Draws, after the column's walls, the things covering it far to near, each in
// the window left by the walls nearer than it, with the column's middles between
// them by depth; then the middles nearer than every thing.
void drawColumnThings(const FrameThings& things, const ColumnState& state, std::int32_t column,
                      const ColumnCrossings& crossings, const ColumnMiddles& middles);
