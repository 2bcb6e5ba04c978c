#include "renderer/draw/ColumnMiddles.h"

#include "renderer/draw/SectorLight.h"

namespace {

template <bool shaded> void drawMiddleRows(const MiddlePiece& piece) {
    std::uint32_t v = piece.vfix;
    PackedPixel* out = piece.out;
    // v stays below texelRows << shift while drawing, so adding step cannot wrap.
    for (std::int32_t i = 0; i < piece.count; ++i, out += piece.stride, v += piece.step) {
        const std::uint32_t row = v >> piece.shift;
        if (row >= piece.texelRows) {
            return;
        }
        const PackedPixel texel = piece.column[row];
        if ((texel >> 24) != 0) {
            *out = shaded ? shadePixel(texel, piece.keep) : texel;
        }
    }
}

} // namespace

void ColumnMiddles::add(const MiddlePiece& piece) {
    if (count < maxColumnMiddles) {
        pieces[count++] = piece;
    }
}

void ColumnMiddles::draw() const {
    for (std::int32_t i = count - 1; i >= 0; --i) {
        if (pieces[i].keep == keepAll) {
            drawMiddleRows<false>(pieces[i]);
        } else {
            drawMiddleRows<true>(pieces[i]);
        }
    }
}
