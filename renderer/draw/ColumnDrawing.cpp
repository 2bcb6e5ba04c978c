#include "renderer/draw/ColumnDrawing.h"

#include "renderer/draw/CpuRelax.h"
#include "renderer/draw/FixedPoint.h"
#include "renderer/draw/FrameGeometry.h"
#include "renderer/draw/SectorLight.h"
#include "renderer/draw/SpanRows.h"
#include "renderer/level/Level.h"
#include "renderer/level/PngLoader.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float focalScale = 1.3333334f; // bits 0x3FAAAAAB: with 3/8 of the width, half the
                                         // width in pixels per unit at depth 1
// The texel scales the frame geometry was made for; a level's own are factors of them.
constexpr float baseWallTexels = 16.0f;
constexpr float baseFlatTexels = 32.0f;

// Nothing in a real view projects this far off screen; the bound keeps the row
// arithmetic of a degenerate depth (a wall touching the eye) inside 32 bits.
constexpr std::int32_t projectionLimit = 1 << 24;

float projectionScale(float depth) {
    return focalScale / depth;
}

float fixedOne(std::int32_t bits) {
    return static_cast<float>(std::int32_t{1} << bits);
}

std::int32_t rowAt(float eyeHeight, float height, float k) {
    const std::int32_t offset = roundToInt((height - eyeHeight) * k * frameGeometry.projectionRows);
    return frameGeometry.centreRow - std::clamp(offset, -projectionLimit, projectionLimit);
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
std::uint32_t rayFixed(float value) {
    return static_cast<std::uint32_t>(roundToInt(value * fixedOne(frameGeometry.rayBits)));
}

// The eye's place in the same fraction bits, then moved up past the depth's:
// level coordinates are large enough for the product to need 64 bits.
std::uint32_t eyeFixed(float value) {
    const double scaled = static_cast<double>(value) * fixedOne(frameGeometry.rayBits);
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(std::nearbyint(scaled)))
           << frameGeometry.depthBits;
}

// The rows' lifts only where some floor or ceiling is shaded: in a level at full
// light they would never be read.
void fillRows(const View& view, FlatCacheEntry& entry, float height) {
    const float depthOne = fixedOne(frameGeometry.depthBits);
    if (!levelShadedFlats) {
        for (std::int32_t i = 0; i < frameGeometry.height; ++i) {
            entry.rowDepth[i] = rowSlopes[i] == 0.0f
                                    ? 0
                                    : roundToInt((view.eye.z - height) / rowSlopes[i] * depthOne);
        }
        return;
    }
    for (std::int32_t i = 0; i < frameGeometry.height; ++i) {
        if (rowSlopes[i] == 0.0f) {
            entry.rowDepth[i] = 0;
            entry.rowLift[i] = 0; // the horizon, as far as can be
            continue;
        }
        const float depth = (view.eye.z - height) / rowSlopes[i];
        entry.rowDepth[i] = roundToInt(depth * depthOne);
        entry.rowLift[i] = static_cast<std::uint8_t>(flatLift(depth));
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

// dark is the sector's darkOf: 0 draws the texels as they are.
void drawFlatSpan(const View& view, ColumnState& state, const FlatRowStep& flatRay, float height,
                  std::uint8_t side, std::int32_t texture, std::int32_t key, std::int32_t start,
                  std::int32_t end, std::int32_t dark) {
    start = std::max(start, state.top);
    end = std::min(end, state.bottom);
    narrowWindow(state, side, start, end);
    FlatCacheEntry& entry = view.flats[key];
    needFlat(view, entry, height);
    if (start >= end) {
        return;
    }
    const Texture& flat = textures[texture];
    if (dark == 0 || flat.shades == nullptr) {
        drawFlatRows(entry.rowDepth.data() + start, end - start, textures[texture].pixels, flatRay,
                     state.pixels + start * state.stride, state.stride);
        return;
    }
    drawFlatRowsShaded(entry.rowDepth.data() + start, {entry.rowLift.data() + start, dark},
                       end - start, flat.shades, flatRay, state.pixels + start * state.stride,
                       state.stride);
}

// The sky's rows: its row skyHorizonRow of skyBaseRows on the horizon, one texel a
// row at 320 wide and as many more rows as the frame is wider; above its top and
// below its bottom the edge rows go on.
constexpr std::int32_t skyHorizonRow = 100;
constexpr std::int32_t skyBaseRows = 128;
constexpr float skyBaseWidth = 320.0f;

void drawSkyRows(const ColumnState& state, std::int32_t start, std::int32_t end) {
    if (state.sky == nullptr || start >= end) {
        return;
    }
    const std::int32_t rows = textures[skyTexture].height;
    const std::int32_t horizon = skyHorizonRow * rows / skyBaseRows;
    const float scale = skyBaseWidth / static_cast<float>(frameGeometry.width);
    const float first =
        static_cast<float>(horizon) + static_cast<float>(start - frameGeometry.centreRow) * scale;
    std::int32_t v = roundToInt(first * 65536.0f);
    const std::int32_t step = roundToInt(scale * 65536.0f);
    PackedPixel* out = state.pixels + start * state.stride;
    for (std::int32_t r = start; r < end; ++r, out += state.stride, v += step) {
        *out = state.sky[std::clamp(v >> 16, 0, rows - 1)];
    }
}

void drawSkySpan(ColumnState& state, std::uint8_t side, std::int32_t start, std::int32_t end) {
    start = std::max(start, state.top);
    end = std::min(end, state.bottom);
    narrowWindow(state, side, start, end);
    drawSkyRows(state, start, end);
}

std::int32_t wrapped(std::int32_t value, std::int32_t size) {
    if ((size & (size - 1)) == 0) {
        return value & (size - 1); // the same, without two divisions
    }
    return ((value % size) + size) % size;
}

// Texture rows per screen row at projection scale k.
float wallRowsPerRow(float k) {
    return frameGeometry.wallRowScale / k * (levelAlignment.wallTexels / baseWallTexels);
}

// A wall piece: s is its texture rows per screen row, shift moves its texture rows,
// and it keeps keep / 32 of its texels' channels.
struct WallPiece {
    float s;
    std::int32_t texture;
    float u;
    float shift;
    std::uint32_t keep;
};

// Rows of a wall piece in a sector's light. A piece of more than a few rows
// shades its image column once: eight texels at a time cost less than a shade
// for every row. Out of line, so that the unshaded pieces have no room to make on
// the stack for the shaded column.
[[gnu::noinline]] void drawShadedWallRows(std::int32_t count, const Texture& image,
                                          const PackedPixel* texels, WallRowStep rows,
                                          std::uint32_t keep, PackedPixel* out,
                                          std::int32_t stride) {
    if (count >= image.height / 4) {
        PackedPixel shaded[maxTextureSide];
        shadeTexels(texels, image.height, keep, shaded);
        drawWallRows(count, shaded, rows, out, stride);
    } else {
        drawWallRowsShaded(count, texels, rows, keep, out, stride);
    }
}

// Inlined into drawProjected, as a call would cost as much as the piece's set-up.
[[gnu::always_inline]] inline void drawWallPiece(ColumnState& state, std::int32_t y,
                                                 const WallPiece& piece, std::uint8_t side,
                                                 std::int32_t start, std::int32_t end) {
    const float s = piece.s;
    const Texture& image = textures[piece.texture];
    const PackedPixel* texels =
        image.pixels + wrapped(roundToInt(piece.u), image.width) * image.height;
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
    const float wallOne = fixedOne(frameGeometry.wallBits);
    const std::uint32_t step = static_cast<std::uint32_t>(roundToInt(s * wallOne));
    // Most pieces are not moved: no remainder to work out for them.
    const float moved =
        piece.shift != 0.0f ? std::fmod(piece.shift, static_cast<float>(image.height)) : 0.0f;
    const std::int64_t first = std::int64_t{roundToInt(v * wallOne)} + roundToInt(moved * wallOne);
    const WallRowStep rows =
        wallRowStep(first, step, static_cast<std::uint32_t>(frameGeometry.wallBits),
                    static_cast<std::uint32_t>(image.height));
    PackedPixel* out = state.pixels + start * state.stride;
    if (piece.keep == keepAll) {
        drawWallRows(end - start, texels, rows, out, state.stride);
    } else {
        drawShadedWallRows(end - start, image, texels, rows, piece.keep, out, state.stride);
    }
}

// The light of one hit: its flats' darkOf and its wall pieces' keep.
struct HitLight {
    std::int32_t flatDark = 0;
    std::uint32_t wallKeep = keepAll;
};

// A wall's keep at the given depth in its sector's light.
std::uint32_t wallKeep(std::int32_t light, std::int32_t contrast, float depth) {
    const std::int32_t dark = darkOf(light, contrast);
    return dark == 0 ? keepAll
                     : static_cast<std::uint32_t>(keepAll - shadeOf(dark, wallLift(depth)));
}

// One piece, with the projection scale k of its depth and, for a wall piece, the
// texture rows per screen row s, both worked out by the caller.
void drawProjected(const View& view, ColumnState& state, const FlatRowStep& flatRay, float height,
                   float k, float s, std::uint8_t side, std::int32_t texture, std::int32_t kind,
                   float u, std::int32_t key, HitLight light, float shift = 0.0f) {
    const std::int32_t y = rowAt(view.eye.z, height, k);
    const std::int32_t start = side != floorSide ? 0 : y;
    const std::int32_t end = side != floorSide ? y : frameGeometry.height;
    if (kind == skySpan) {
        drawSkySpan(state, side, start, end);
    } else if (kind == flatSpan) {
        drawFlatSpan(view, state, flatRay, height, side, texture, key, start, end, light.flatDark);
    } else {
        drawWallPiece(state, y, {s, texture, u, shift, light.wallKeep}, side, start, end);
    }
}

} // namespace

FlatRowStep flatColumnRay(const View& view, std::int32_t x) {
    const float slope = columnSlopes[x];
    // The level's texel scale stretches the ray and the eye's place alike.
    const float scale = levelAlignment.flatTexels / baseFlatTexels;
    const std::uint32_t dx = rayFixed((view.side.x * slope + view.dir.x) * scale);
    const std::uint32_t dy = rayFixed((view.side.y * slope + view.dir.y) * scale);
    const std::uint32_t ox = eyeFixed(view.eye.x * scale);
    const std::uint32_t oy = eyeFixed(view.eye.y * scale);
    // The texel sits 5 bits below the units of depth times ray: 32 texels a unit.
    const auto shift =
        static_cast<std::uint32_t>(frameGeometry.depthBits + frameGeometry.rayBits - 5);
    return {dx, dy, ox, oy, shift};
}

float projectionScaleAt(float depth) {
    return projectionScale(depth);
}

std::int32_t projectRow(const View& view, float height, float depth) {
    return rowAt(view.eye.z, height, projectionScale(depth));
}

void drawColumnPart(const View& view, ColumnState& state, std::int32_t x, float height, float depth,
                    std::uint8_t side, std::int32_t texture, std::int32_t kind, float u,
                    std::int32_t key) {
    if (kind != wallPiece && kind != flatSpan) {
        return;
    }
    const float k = projectionScale(depth);
    const float s = kind == wallPiece ? wallRowsPerRow(k) : 0.0f;
    const FlatRowStep flatRay = kind == flatSpan ? flatColumnRay(view, x) : FlatRowStep{};
    drawProjected(view, state, flatRay, height, k, s, side, texture, kind, u, key, HitLight{});
}

void drawHit(const View& view, ColumnState& state, const FlatRowStep& flatRay, float depth,
             const Sector& sector, const Sector& behind, PieceTextures pieces, float u) {
    const float k = projectionScale(depth);
    const float s = wallRowsPerRow(k);
    const HitLight light = {darkOf(sector.light, 0),
                            wallKeep(sector.light, pieces.contrast, depth)};
    drawProjected(view, state, flatRay, sector.floorHeight, k, s, floorSide, sector.floorTexture,
                  sector.floorSky ? skySpan : flatSpan, 0.0f, sector.floorKey, light);
    drawProjected(view, state, flatRay, sector.ceilingHeight, k, s, ceilingSide,
                  sector.ceilingTexture, sector.ceilingSky ? skySpan : flatSpan, 0.0f,
                  sector.ceilingKey, light);
    // The visible wall pieces are the neighbour's floor and ceiling steps; between
    // two skies the sky goes on, so sky areas of different heights meet unseen.
    const bool skyBelow = sector.floorSky && behind.floorSky;
    const bool skyAbove = sector.ceilingSky && behind.ceilingSky;
    drawProjected(view, state, flatRay, behind.floorHeight, k, s, floorSide, pieces.lower,
                  skyBelow ? skySpan : wallPiece, u, 0, light, pieces.lowerShift);
    drawProjected(view, state, flatRay, behind.ceilingHeight, k, s, ceilingSide, pieces.upper,
                  skyAbove ? skySpan : wallPiece, u, 0, light, pieces.upperShift);
}

std::int32_t skyColumnFor(float dx, float dy) {
    if (skyTexture < 0) {
        return -1;
    }
    // 1024 / (2 pi), and the angle rounded once to float like sine and cosine.
    constexpr float texelsPerRadian = 162.97466f;
    const float angle =
        static_cast<float>(std::atan2(static_cast<double>(dy), static_cast<double>(dx)));
    const std::int32_t width = textures[skyTexture].width;
    const auto u = static_cast<std::int32_t>(std::floor(-angle * texelsPerRadian));
    return ((u % width) + width) % width;
}

void keepMiddle(const View& view, const ColumnState& state, float depth, const Sector& sector,
                float top, std::int32_t texture, std::int32_t contrast, float u,
                ColumnMiddles& middles) {
    const Texture& image = textures[texture];
    const float k = projectionScale(depth);
    const float s = wallRowsPerRow(k);
    const std::int32_t y = rowAt(view.eye.z, top, k);
    const std::int32_t start = std::max(y, state.top);
    if (start >= state.bottom) {
        return;
    }
    const float wallOne = fixedOne(frameGeometry.wallBits);
    const float v = static_cast<float>(start - y) * s;
    const std::int32_t column = wrapped(roundToInt(u), image.width);
    middles.add({image.pixels + column * image.height, static_cast<std::uint32_t>(image.height),
                 state.pixels + start * state.stride, state.stride, state.bottom - start,
                 static_cast<std::uint32_t>(roundToInt(v * wallOne)),
                 static_cast<std::uint32_t>(roundToInt(s * wallOne)),
                 static_cast<std::uint32_t>(frameGeometry.wallBits),
                 wallKeep(sector.light, contrast, depth)});
}

void fillFlatCache(const View& view, std::int32_t key, float height) {
    FlatCacheEntry& entry = view.flats[key];
    fillRows(view, entry, height);
    entry.valid.store(flatReady, std::memory_order_release);
}

void prepareFlatCache(const View& view) {
    for (std::int32_t key = 0; key < view.flatCount; ++key) {
        view.flats[key].valid.store(flatEmpty, std::memory_order_relaxed);
    }
}
