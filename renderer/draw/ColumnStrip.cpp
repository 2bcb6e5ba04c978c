#include "renderer/draw/ColumnStrip.h"

#include "renderer/draw/ColumnDrawing.h"
#include "renderer/draw/Ray.h"
#include "renderer/draw/Traversal.h"

#include <algorithm>
#include <cstring>

namespace {

// Sized for the tallest frame once per thread, by the thread's start, not by a frame.
alignas(64) thread_local PackedPixel strip[static_cast<std::size_t>(maxFrameHeight) * stripColumns];

} // namespace

std::int32_t drawColumnStrip(const View& view, std::int32_t first, std::int32_t end,
                             OpenRows* open) {
    const std::int32_t width = frameGeometry.width;
    const std::int32_t height = frameGeometry.height;
    const std::int32_t count = end - first;
    OpenRows left[stripColumns];
    bool anyOpen = false;
    std::int32_t deepest = 0;
    for (std::int32_t c = 0; c < count; ++c) {
        const std::int32_t j = first + c;
        const Ray ray = {view.eye, view.dir + view.side * columnSlopes[j]};
        ColumnState state = {strip + c, 0, height, stripColumns};
        deepest = std::max(deepest, renderColumn(view, state, j, view.sector, ray));
        left[c] = {state.top, state.bottom};
        anyOpen = anyOpen || state.top < state.bottom;
        if (open != nullptr) {
            open[j] = left[c];
        }
    }
    PackedPixel* out = view.pixels + first;
    // Rows a column left open keep what the frame had there.
    for (std::int32_t c = 0; anyOpen && c < count; ++c) {
        for (std::int32_t r = left[c].top; r < left[c].bottom; ++r) {
            strip[r * stripColumns + c] = out[static_cast<std::size_t>(r) * width + c];
        }
    }
    const std::size_t rowBytes = static_cast<std::size_t>(count) * sizeof(PackedPixel);
    if (count == stripColumns) {
        for (std::int32_t r = 0; r < height; ++r) {
            std::memcpy(out + static_cast<std::size_t>(r) * width, strip + r * stripColumns,
                        stripColumns * sizeof(PackedPixel));
        }
    } else {
        for (std::int32_t r = 0; r < height; ++r) {
            std::memcpy(out + static_cast<std::size_t>(r) * width, strip + r * stripColumns,
                        rowBytes);
        }
    }
    return deepest;
}
