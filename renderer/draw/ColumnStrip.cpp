#include "renderer/draw/ColumnStrip.h"

#include "renderer/draw/ColumnDrawing.h"
#include "renderer/draw/Ray.h"
#include "renderer/draw/Traversal.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) && !defined(__EMSCRIPTEN__)
#include <emmintrin.h>
#define DUSKHALL_SSE2_ROWS 1
#endif

namespace {

// Each column of a turned strip is one run of rows, so drawing it writes memory in
// order; the rows are put together when the strip is copied out. A column's rows
// are a multiple of four, so four rows of it are one aligned 16-byte load.
constexpr std::int32_t columnRowsFor(std::int32_t height) {
    return (height + 3) / 4 * 4;
}

// Sized for the tallest frame once per thread, by the thread's start, not by a frame.
alignas(64) thread_local PackedPixel
    strip[static_cast<std::size_t>(columnRowsFor(maxFrameHeight)) * stripColumns];

// Frames larger than 2 MiB are drawn in turned strips: they are far larger than a
// core's caches, so writing whole lines past the caches pays for the turning;
// smaller frames stay in the caches and copy rows as they are.
bool turnsStrips(std::int32_t width, std::int32_t height) {
#ifdef DUSKHALL_SSE2_ROWS
    constexpr std::size_t turnedFromBytes = std::size_t{2} << 20;
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
               sizeof(PackedPixel) >
           turnedFromBytes;
#else
    (void)width;
    (void)height;
    return false;
#endif
}

// Where pixel (column c, row r) of the strip is, in either layout.
struct StripLayout {
    std::int32_t column; // pixels from one column to the next
    std::int32_t row;    // pixels from one row to the next
};

// Rows a column left open keep what the frame had there.
void keepOpenRows(const OpenRows* left, std::int32_t count, StripLayout layout,
                  const PackedPixel* out, std::int32_t width) {
    for (std::int32_t c = 0; c < count; ++c) {
        for (std::int32_t r = left[c].top; r < left[c].bottom; ++r) {
            strip[c * layout.column + r * layout.row] =
                out[static_cast<std::size_t>(r) * width + c];
        }
    }
}

// A strip whose rows are rows: one copy per row, of a size known here for a whole
// strip so that it is a few moves in place.
void copyRows(std::int32_t count, std::int32_t height, PackedPixel* out, std::int32_t width) {
    if (count == stripColumns) {
        for (std::int32_t r = 0; r < height; ++r) {
            std::memcpy(out + static_cast<std::size_t>(r) * width, strip + r * stripColumns,
                        stripColumns * sizeof(PackedPixel));
        }
        return;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(count) * sizeof(PackedPixel);
    for (std::int32_t r = 0; r < height; ++r) {
        std::memcpy(out + static_cast<std::size_t>(r) * width, strip + r * stripColumns, rowBytes);
    }
}

// Any number of a turned strip's columns, a pixel at a time.
void copyColumns(std::int32_t count, std::int32_t height, std::int32_t columnRows, PackedPixel* out,
                 std::int32_t width) {
    for (std::int32_t r = 0; r < height; ++r) {
        PackedPixel* row = out + static_cast<std::size_t>(r) * width;
        for (std::int32_t c = 0; c < count; ++c) {
            row[c] = strip[c * columnRows + r];
        }
    }
}

#ifdef DUSKHALL_SSE2_ROWS
// Four rows of four columns turned into four rows: column k holds rows r to r + 3
// of the strip's column k, rows[k] gets row r + k.
inline void turnFour(const __m128i* column, std::size_t next, __m128i* rows) {
    const __m128i c0 = _mm_load_si128(column);
    const __m128i c1 = _mm_load_si128(column + next);
    const __m128i c2 = _mm_load_si128(column + 2 * next);
    const __m128i c3 = _mm_load_si128(column + 3 * next);
    const __m128i low01 = _mm_unpacklo_epi32(c0, c1);
    const __m128i low23 = _mm_unpacklo_epi32(c2, c3);
    const __m128i high01 = _mm_unpackhi_epi32(c0, c1);
    const __m128i high23 = _mm_unpackhi_epi32(c2, c3);
    rows[0] = _mm_unpacklo_epi64(low01, low23);
    rows[4] = _mm_unpackhi_epi64(low01, low23);
    rows[8] = _mm_unpacklo_epi64(high01, high23);
    rows[12] = _mm_unpackhi_epi64(high01, high23);
}

// A whole turned strip, four rows at a time. Each strip row is one whole line of
// the frame when the frame's rows start on cache lines; such lines go past the
// caches: reading the line in first, as an ordinary store must, would only double
// the traffic, and would push the strip, the textures and the flat depths out.
template <bool pastCaches>
void copyTurnedStrip(std::int32_t height, std::int32_t columnRows, PackedPixel* out,
                     std::int32_t width) {
    const std::int32_t blocks = height / 4;
    const std::size_t next = static_cast<std::size_t>(columnRows) / 4;
    for (std::int32_t b = 0; b < blocks; ++b) {
        const std::int32_t r = b * 4;
        // Four whole strip rows, each written out in one go: a line written in
        // pieces while others are under way can leave the write buffers half full.
        __m128i rows[16];
        for (std::int32_t g = 0; g < 4; ++g) {
            turnFour(reinterpret_cast<const __m128i*>(strip + g * 4 * columnRows + r), next,
                     rows + g);
        }
#pragma GCC unroll 16
        for (std::int32_t i = 0; i < 16; ++i) {
            auto* to =
                reinterpret_cast<__m128i*>(out + static_cast<std::size_t>(r + i / 4) * width) +
                i % 4;
            if constexpr (pastCaches) {
                _mm_stream_si128(to, rows[i]);
            } else {
                _mm_storeu_si128(to, rows[i]);
            }
        }
    }
    if constexpr (pastCaches) {
        // Rows copied past the caches reach the frame in no set order: done before
        // the strip counts as drawn.
        _mm_sfence();
    }
    copyColumns(stripColumns, height - blocks * 4, columnRows, out + blocks * 4 * width, width);
}
#endif

// Copies the drawn strip of count columns into the frame at out.
void copyStrip(bool turned, std::int32_t count, std::int32_t height, PackedPixel* out,
               std::int32_t width) {
    if (!turned) {
        copyRows(count, height, out, width);
        return;
    }
    const std::int32_t columnRows = columnRowsFor(height);
#ifdef DUSKHALL_SSE2_ROWS
    if (count == stripColumns) {
        const bool onLines = reinterpret_cast<std::uintptr_t>(out) % 64 == 0 &&
                             static_cast<std::size_t>(width) * sizeof(PackedPixel) % 64 == 0;
        if (onLines) {
            copyTurnedStrip<true>(height, columnRows, out, width);
        } else {
            copyTurnedStrip<false>(height, columnRows, out, width);
        }
        return;
    }
#endif
    copyColumns(count, height, columnRows, out, width);
}

} // namespace

std::int32_t drawColumnStrip(const View& view, std::int32_t first, std::int32_t end,
                             OpenRows* open) {
    const std::int32_t width = frameGeometry.width;
    const std::int32_t height = frameGeometry.height;
    const bool turned = turnsStrips(width, height);
    const StripLayout layout =
        turned ? StripLayout{columnRowsFor(height), 1} : StripLayout{1, stripColumns};
    const std::int32_t count = end - first;
    OpenRows left[stripColumns];
    bool anyOpen = false;
    std::int32_t deepest = 0;
    for (std::int32_t c = 0; c < count; ++c) {
        const std::int32_t j = first + c;
        const Ray ray = {view.eye, view.dir + view.side * columnSlopes[j]};
        ColumnState state = {strip + c * layout.column, 0, height, layout.row};
        deepest = std::max(deepest, renderColumn(view, state, j, view.sector, ray));
        left[c] = {state.top, state.bottom};
        anyOpen = anyOpen || state.top < state.bottom;
        if (open != nullptr) {
            open[j] = left[c];
        }
    }
    PackedPixel* out = view.pixels + first;
    if (anyOpen) {
        keepOpenRows(left, count, layout, out, width);
    }
    copyStrip(turned, count, height, out, width);
    return deepest;
}
