#include "renderer/draw/ColumnThings.h"

#include "renderer/draw/FixedPoint.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float vOne = 65536.0f; // texel rows in 16.16 fixed point
constexpr std::uint32_t vBits = 16;

// The piece of one thing's picture in column x, inside rows [top, bottom).
bool thingPiece(const ProjectedThing& thing, const ColumnState& state, std::int32_t x,
                std::int32_t top, std::int32_t bottom, MiddlePiece& piece) {
    const Texture& image = *thing.image;
    const float across = (static_cast<float>(x) - thing.leftColumn) * thing.texelsPerColumn;
    std::int32_t u = std::clamp(static_cast<std::int32_t>(std::floor(across)), 0, image.width - 1);
    u = thing.mirrored ? image.width - 1 - u : u;
    const float rows = static_cast<float>(image.height) / thing.texelsPerRow;
    const float firstRow = std::ceil(thing.topRow);
    const float endRow = std::ceil(thing.topRow + rows);
    // Rows far outside the frame are clamped before they become whole numbers.
    const std::int32_t start =
        std::max(top, static_cast<std::int32_t>(std::clamp(firstRow, -1.0f, 65536.0f)));
    const std::int32_t end =
        std::min(bottom, static_cast<std::int32_t>(std::clamp(endRow, -1.0f, 65536.0f)));
    if (start >= end) {
        return false;
    }
    const float step = std::min(thing.texelsPerRow, static_cast<float>(image.height));
    const float v = (static_cast<float>(start) - thing.topRow) * thing.texelsPerRow;
    piece = {image.pixels + u * image.height,
             static_cast<std::uint32_t>(image.height),
             state.pixels + start * state.stride,
             state.stride,
             end - start,
             static_cast<std::uint32_t>(roundToInt(std::max(v, 0.0f) * vOne)),
             static_cast<std::uint32_t>(roundToInt(step * vOne)),
             vBits,
             thing.keep};
    return true;
}

} // namespace

void drawColumnThings(const FrameThings& things, const ColumnState& state, std::int32_t column,
                      const ColumnCrossings& crossings, const ColumnMiddles& middles) {
    std::int32_t undrawn = middles.count; // middles [0, undrawn) wait for nearer things
    std::int32_t nearer = crossings.count;
    for (std::int32_t i = 0; i < things.count; ++i) {
        const ProjectedThing& thing = things.entries[static_cast<std::size_t>(i)];
        if (column < thing.firstColumn || column >= thing.endColumn) {
            continue;
        }
        // Far to near, so the walls nearer than the thing only ever get fewer.
        while (nearer > 0 && !(crossings.list[nearer - 1].depth < thing.depth)) {
            --nearer;
        }
        const ColumnCrossing open = nearer > 0
                                        ? crossings.list[nearer - 1]
                                        : ColumnCrossing{0.0f, crossings.top, crossings.bottom, 0};
        middles.draw(open.middles, undrawn);
        undrawn = std::min(undrawn, open.middles);
        MiddlePiece piece;
        if (open.top < open.bottom &&
            thingPiece(thing, state, column, open.top, open.bottom, piece)) {
            drawMiddlePiece(piece);
        }
    }
    middles.draw(0, undrawn);
}
