#include "renderer/ColumnDrawing.h"

#include "renderer/CpuRelax.h"
#include "renderer/FixedPoint.h"
#include "renderer/FrameLoop.h"
#include "renderer/Level.h"
#include "renderer/SpanRows.h"

#include <algorithm>

std::int32_t clipTop = 0;
std::int32_t clipBottom = screenHeight;
FlatCacheEntry* flatCache = nullptr;
std::int32_t flatCacheSize = 0;

namespace {

constexpr float focalScale = 1.3333334f;    // bits 0x3FAAAAAB: 160 pixels per unit at depth 1
constexpr float wallRowScale = 0.13333334f; // bits 0x3E088889: 16 texels per unit
constexpr float flatFixedOne = 8192.0f;     // flat world coordinates carry 13 fraction bits
constexpr float depthFixedOne = 256.0f;     // row depths carry 8
constexpr float wallFixedOne = 65536.0f;    // wall texture rows carry 16
constexpr std::int32_t textureMask = 63;
constexpr std::int32_t textureSize = 64;

// Nothing in a real view projects this far off screen; the bound keeps the row
// arithmetic of a degenerate depth (a wall touching the eye) inside 32 bits.
constexpr std::int32_t projectionLimit = 1 << 24;

float projectionScale(float depth) {
    return focalScale / depth;
}

std::int32_t rowAt(float eyeHeight, float height, float k) {
    const std::int32_t offset = roundToInt((height - eyeHeight) * k * 120.0f);
    return centreRow - std::clamp(offset, -projectionLimit, projectionLimit);
}

// Moves the window's edge past a piece already clipped to it: a floor-side piece
// takes the bottom, a ceiling-side piece the top. A piece with no rows inside the
// window leaves it as it is.
void narrowWindow(ColumnState& state, std::uint8_t side, std::int32_t start, std::int32_t end) {
    if (side != floorSide) {
        if (end > state.top) {
            state.top = end;
        }
    } else if (start < state.bottom) {
        state.bottom = start;
    }
}

// The texel of a flat needs bits 8 to 13 of ((t x d) >> 8) + o, which are bits 16
// to 21 of t x d + o x 256. Low bits of sums and products do not depend on the
// bits above them, so unsigned 32-bit arithmetic, which wraps instead of
// overflowing, gives them exactly as 64-bit arithmetic would. Likewise the wall
// rows' running sum, of which bits 16 to 21 are read.
std::uint32_t flatFixed(float value) {
    return static_cast<std::uint32_t>(roundToInt(value * flatFixedOne));
}

void fillRows(const View& view, FlatCacheEntry& entry, float height) {
    for (std::int32_t i = 0; i < screenHeight; ++i) {
        entry.rowDepth[i] = rowSlopes[i] == 0.0f
                                ? 0
                                : roundToInt((view.eye.z - height) / rowSlopes[i] * depthFixedOne);
    }
}

// The first thread to need a surface fills it; any other that needs it meanwhile
// waits the few hundred divisions that takes.
void needFlat(const View& view, FlatCacheEntry& entry, float height) {
    std::uint8_t state = entry.valid.load(std::memory_order_acquire);
    while (state != flatReady) {
        if (state == flatEmpty) {
            if (entry.valid.compare_exchange_weak(state, flatFilling, std::memory_order_acquire)) {
                fillRows(view, entry, height);
                entry.valid.store(flatReady, std::memory_order_release);
                return;
            }
        } else {
            cpuRelax();
            state = entry.valid.load(std::memory_order_acquire);
        }
    }
}

void drawFlatSpan(const View& view, ColumnState& state, const FlatRowStep& flatRay, float height,
                  std::uint8_t side, std::int32_t texture, std::int32_t key, std::int32_t start,
                  std::int32_t end) {
    start = std::max(start, state.top);
    end = std::min(end, state.bottom);
    narrowWindow(state, side, start, end);
    FlatCacheEntry& entry = view.flats[key];
    needFlat(view, entry, height);
    if (start >= end) {
        return;
    }
    drawFlatRows(entry.rowDepth + start, end - start, textures[texture].pixels, flatRay,
                 state.pixels + start * screenWidth);
}

// s is the piece's texture rows per screen row.
void drawWallPiece(ColumnState& state, std::int32_t y, float s, std::uint8_t side,
                   std::int32_t texture, float u, std::int32_t start, std::int32_t end) {
    const PackedPixel* texels =
        textures[texture].pixels + (roundToInt(u) & textureMask) * textureSize;
    // Texture row 0 sits on the boundary line y on both sides.
    float v = side != floorSide ? static_cast<float>(-y) * s : 0.0f;
    if (start < state.top) {
        v = v + static_cast<float>(state.top - start) * s;
        start = state.top;
    }
    if (end > state.bottom) {
        end = state.bottom;
    }
    narrowWindow(state, side, start, end);
    if (start >= end) {
        return;
    }
    const std::uint32_t step = static_cast<std::uint32_t>(roundToInt(s * wallFixedOne));
    std::uint32_t vfix = static_cast<std::uint32_t>(roundToInt(v * wallFixedOne));
    drawWallRows(end - start, texels, {vfix, step}, state.pixels + start * screenWidth);
}

// One piece, with the projection scale k of its depth and, for a wall piece, the
// texture rows per screen row s, both worked out by the caller.
void drawProjected(const View& view, ColumnState& state, const FlatRowStep& flatRay, float height,
                   float k, float s, std::uint8_t side, std::int32_t texture, std::int32_t kind,
                   float u, std::int32_t key) {
    const std::int32_t y = rowAt(view.eye.z, height, k);
    const std::int32_t start = side != floorSide ? 0 : y;
    const std::int32_t end = side != floorSide ? y : screenHeight;
    if (kind == flatSpan) {
        drawFlatSpan(view, state, flatRay, height, side, texture, key, start, end);
    } else {
        drawWallPiece(state, y, s, side, texture, u, start, end);
    }
}

} // namespace

FlatRowStep flatColumnRay(const View& view, std::int32_t x) {
    const float slope = columnSlopes[x];
    const std::uint32_t dx = flatFixed(view.side.x * slope + view.dir.x);
    const std::uint32_t dy = flatFixed(view.side.y * slope + view.dir.y);
    const std::uint32_t ox = flatFixed(view.eye.x) << 8;
    const std::uint32_t oy = flatFixed(view.eye.y) << 8;
    return {dx, dy, ox, oy};
}

FlatRowStep flatColumnRay(std::int32_t x) {
    return flatColumnRay(currentView(), x);
}

std::int32_t projectRow(float height, float depth) {
    return rowAt(cameraPos.z, height, projectionScale(depth));
}

void drawColumnPart(std::int32_t x, float height, float depth, std::uint8_t side,
                    std::int32_t texture, std::int32_t kind, float u, std::int32_t key) {
    ColumnState state = {framebuffer + x, clipTop, clipBottom};
    drawColumnPart(state, x, height, depth, side, texture, kind, u, key);
    clipTop = state.top;
    clipBottom = state.bottom;
}

void drawColumnPart(ColumnState& state, std::int32_t x, float height, float depth,
                    std::uint8_t side, std::int32_t texture, std::int32_t kind, float u,
                    std::int32_t key) {
    if (kind != wallPiece && kind != flatSpan) {
        return;
    }
    const View view = currentView();
    const float k = projectionScale(depth);
    const float s = kind == wallPiece ? wallRowScale / k : 0.0f;
    const FlatRowStep flatRay = kind == flatSpan ? flatColumnRay(view, x) : FlatRowStep{};
    drawProjected(view, state, flatRay, height, k, s, side, texture, kind, u, key);
}

void drawHit(const View& view, ColumnState& state, const FlatRowStep& flatRay, float depth,
             const Sector& sector, const Sector& behind, PieceTextures pieces, float u) {
    const float k = projectionScale(depth);
    const float s = wallRowScale / k;
    drawProjected(view, state, flatRay, sector.floorHeight, k, s, floorSide, sector.floorTexture,
                  flatSpan, 0.0f, sector.floorKey);
    drawProjected(view, state, flatRay, sector.ceilingHeight, k, s, ceilingSide,
                  sector.ceilingTexture, flatSpan, 0.0f, sector.ceilingKey);
    // The visible wall pieces are the neighbour's floor and ceiling steps.
    drawProjected(view, state, flatRay, behind.floorHeight, k, s, floorSide, pieces.lower,
                  wallPiece, u, 0);
    drawProjected(view, state, flatRay, behind.ceilingHeight, k, s, ceilingSide, pieces.upper,
                  wallPiece, u, 0);
}

void drawHit(ColumnState& state, const FlatRowStep& flatRay, float depth, std::int32_t,
             const Sector& sector, const Sector& behind, float u) {
    drawHit(currentView(), state, flatRay, depth, sector, behind,
            {behind.wallTexture, behind.wallTexture}, u);
}

void fillFlatCache(const View& view, std::int32_t key, float height) {
    FlatCacheEntry& entry = view.flats[key];
    fillRows(view, entry, height);
    entry.valid.store(flatReady, std::memory_order_release);
}

void fillFlatCache(std::int32_t key, float height) {
    fillFlatCache(currentView(), key, height);
}

void resizeFlatCache(std::int32_t entries) {
    delete[] flatCache;
    flatCache = entries > 0 ? new FlatCacheEntry[static_cast<std::size_t>(entries)] : nullptr;
    flatCacheSize = entries > 0 ? entries : 0;
}

void invalidateFlatCache() {
    for (std::int32_t key = 0; key < flatCacheSize; ++key) {
        flatCache[key].valid.store(flatEmpty, std::memory_order_relaxed);
    }
}

void prepareFlatCache(const View& view) {
    for (std::int32_t key = 0; key < view.flatCount; ++key) {
        view.flats[key].valid.store(flatEmpty, std::memory_order_relaxed);
    }
}

void prepareFlatCache() {
    prepareFlatCache(currentView());
}
