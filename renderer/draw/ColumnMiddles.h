#pragma once

#include "renderer/level/Pixel.h"

#include <cstdint>

// The rows of one see-through middle in one column, kept while the traversal goes
// on behind it: a middle is drawn over what lies behind, so only once that is.
struct MiddlePiece {
    const PackedPixel* column; // the texture's image column, top row first
    std::uint32_t texelRows;   // its height: the middle is not repeated downwards
    PackedPixel* out;          // the piece's first row
    std::int32_t stride;
    std::int32_t count;
    // Texel row (v bits shift and up) of the first row and its growth per row.
    std::uint32_t vfix;
    std::uint32_t step;
    std::uint32_t shift;
    std::uint32_t keep; // of each channel, in 32nds (shadePixel): 32 as it is
};

// One piece's rows; texels of alpha 0 leave what is already there.
void drawMiddlePiece(const MiddlePiece& piece);

// The most middles one column keeps; a ray through more leaves out the farthest.
constexpr std::int32_t maxColumnMiddles = 64;

// The middles one column met, nearest first; on the stack of the column's drawing.
struct ColumnMiddles {
    MiddlePiece pieces[maxColumnMiddles];
    std::int32_t count = 0;

    void add(const MiddlePiece& piece);
    // Farthest first, so a nearer middle covers a farther one; texels of alpha 0
    // leave what is already there.
    void draw() const { draw(0, count); }
    // Pieces [first, end) alone, farthest first.
    void draw(std::int32_t first, std::int32_t end) const;
};
