#include "renderer/draw/ColumnMiddles.h"

#include "renderer/draw/SectorLight.h"
#include "renderer/draw/SpanRows.h"

namespace {

constexpr std::uint32_t maxShadedRows = 1024; // the tallest texture

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

void ColumnMiddles::draw(std::int32_t first, std::int32_t end) const {
    for (std::int32_t i = end - 1; i >= first; --i) {
        drawMiddlePiece(pieces[i]);
    }
}

void drawMiddlePiece(const MiddlePiece& piece) {
    if (piece.keep == keepAll) {
        drawMiddleRows<false>(piece);
    } else if (piece.texelRows <= maxShadedRows &&
               static_cast<std::uint32_t>(piece.count) * 4 >= piece.texelRows) {
        // Its rows many for the texels: the image column is shaded once.
        PackedPixel shaded[maxShadedRows];
        shadeTexels(piece.column, static_cast<std::int32_t>(piece.texelRows), piece.keep, shaded);
        MiddlePiece inShade = piece;
        inShade.column = shaded;
        drawMiddleRows<false>(inShade);
    } else {
        drawMiddleRows<true>(piece);
    }
}
