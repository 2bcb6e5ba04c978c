#pragma once

// Deterministic noise that repeats every 64 pixels in x and y, so textures made
// from it tile without seams. No clock, no global random state: the same seed
// always gives the same values.

#include <cmath>
#include <cstdint>

namespace tile_noise {

constexpr int size = 64;

inline std::uint32_t hash(int x, int y, std::uint32_t seed) {
    std::uint32_t h = seed * 0x9E3779B1u ^ static_cast<std::uint32_t>(x) * 0x85EBCA77u ^
                      static_cast<std::uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// A value in [0, 1).
inline float unit(std::uint32_t h) {
    return static_cast<float>(h >> 8) * (1.0f / 16777216.0f);
}

inline int wrap(int v, int period) {
    return ((v % period) + period) % period;
}

inline float smooth(float t) {
    return t * t * (3.0f - 2.0f * t);
}

// Value noise in [0, 1) on a lattice of cellsX x cellsY cells across the tile;
// both must divide 64 for the result to repeat with the tile.
inline float value(float x, float y, int cellsX, int cellsY, std::uint32_t seed) {
    const float fx = x * static_cast<float>(cellsX) / size;
    const float fy = y * static_cast<float>(cellsY) / size;
    const int ix = static_cast<int>(std::floor(fx));
    const int iy = static_cast<int>(std::floor(fy));
    const float tx = smooth(fx - static_cast<float>(ix));
    const float ty = smooth(fy - static_cast<float>(iy));
    const auto at = [&](int dx, int dy) {
        return unit(hash(wrap(ix + dx, cellsX), wrap(iy + dy, cellsY), seed));
    };
    const float top = at(0, 0) + (at(1, 0) - at(0, 0)) * tx;
    const float bottom = at(0, 1) + (at(1, 1) - at(0, 1)) * tx;
    return top + (bottom - top) * ty;
}

// Sum of octaves, each with twice the cells and half the weight; result in [0, 1).
inline float fractal(float x, float y, int cellsX, int cellsY, int octaves, std::uint32_t seed) {
    float sum = 0.0f;
    float weight = 0.5f;
    float total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += value(x, y, cellsX << i, cellsY << i, seed + static_cast<std::uint32_t>(i)) * weight;
        total += weight;
        weight *= 0.5f;
    }
    return sum / total;
}

struct Cells {
    float nearest;       // distance to the closest feature point
    float secondNearest; // distance to the next one
    int id;              // which cell the closest point belongs to
};

// Cellular noise with one jittered point per cell of a grid x grid lattice.
inline Cells cells(float x, float y, int grid, std::uint32_t seed) {
    const float cell = static_cast<float>(size) / static_cast<float>(grid);
    const int cx = static_cast<int>(std::floor(x / cell));
    const int cy = static_cast<int>(std::floor(y / cell));
    Cells result{1e9f, 1e9f, 0};
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const int gx = wrap(cx + dx, grid);
            const int gy = wrap(cy + dy, grid);
            const std::uint32_t h = hash(gx, gy, seed);
            const float px = (static_cast<float>(cx + dx) + 0.15f + 0.7f * unit(h)) * cell;
            const float py =
                (static_cast<float>(cy + dy) + 0.15f + 0.7f * unit(hash(gy, gx, ~seed))) * cell;
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < result.nearest) {
                result.secondNearest = result.nearest;
                result.nearest = d;
                result.id = gy * grid + gx;
            } else if (d < result.secondNearest) {
                result.secondNearest = d;
            }
        }
    }
    return result;
}

} // namespace tile_noise
