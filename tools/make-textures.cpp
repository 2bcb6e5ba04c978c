// make-textures OUTDIR: draws the seven 64 x 64 textures of the demo and writes
// them as 8-bit RGB PNG files into OUTDIR. Everything is computed from fixed
// seeds and written with fixed compression settings, so the output bytes are
// the same on every run.

#include "PngFile.h"
#include "TileNoise.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using tile_noise::fractal;
using tile_noise::hash;
using tile_noise::size;
using tile_noise::unit;
using tile_noise::wrap;

struct Colour {
    float r, g, b;
};

Colour operator*(Colour c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}

Colour mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// What a painter says about one texel: its colour under flat, even light, and
// its height (0 = deepest groove, 1 = proud surface) from which the light is
// worked out.
struct Surface {
    Colour colour;
    float height;
};

float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

// 0 at a distance of 0 from an edge, rising smoothly to 1 at `width`.
float bevel(float distance, float width) {
    return tile_noise::smooth(clamp01(distance / width));
}

int edgeDistance(int lx, int ly, int w, int h) {
    return std::min(std::min(lx, w - 1 - lx), std::min(ly, h - 1 - ly));
}

// ---- The painters, one per texture.

// Red-brown bricks, 16 x 8, every other course shifted by half a brick.
Surface bricks(int x, int y) {
    const int row = y / 8;
    const int shifted = x + (row % 2) * 8;
    const int lx = wrap(shifted, 16);
    const int ly = y % 8;
    const float grain = fractal(static_cast<float>(x), static_cast<float>(y), 16, 16, 3, 11);
    if (lx == 0 || ly == 0) {
        return {Colour{0.50f, 0.48f, 0.44f} * (0.75f + 0.35f * grain), 0.0f};
    }
    const int column = wrap(shifted, size) / 16;
    const float tint = unit(hash(column, row, 1));
    Colour colour = mix({0.50f, 0.19f, 0.13f}, {0.66f, 0.33f, 0.20f}, tint);
    if (unit(hash(column, row, 2)) < 0.2f) {
        colour = colour * 0.72f; // a few scorched bricks break the repetition
    }
    const float speck = unit(hash(x, y, 3)) > 0.92f ? 0.8f : 1.0f;
    colour = colour * ((0.82f + 0.3f * grain) * speck);
    const int d = edgeDistance(lx - 1, ly - 1, 15, 7);
    return {colour, 0.55f + 0.35f * bevel(static_cast<float>(d) + 0.5f, 1.5f) + 0.1f * grain};
}

// Grey stone blocks of uneven width in 16-pixel courses.
Surface stoneBlocks(int x, int y) {
    static constexpr std::array<std::array<int, 3>, 4> widths{
        {{22, 20, 22}, {16, 28, 20}, {26, 18, 20}, {18, 24, 22}}};
    static constexpr std::array<int, 4> offsets{0, 9, 4, 13};
    const int row = y / 16;
    const int ly = y % 16;
    int lx = wrap(x + offsets[row], size);
    int block = 0;
    while (lx >= widths[row][block]) {
        lx -= widths[row][block];
        ++block;
    }
    const int w = widths[row][block];
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    const float mottle = fractal(fx, fy, 8, 8, 4, 21);
    if (lx == 0 || ly == 0) {
        return {Colour{0.20f, 0.20f, 0.21f} * (0.8f + 0.4f * mottle), 0.0f};
    }
    const float tint = unit(hash(block, row, 22));
    Colour colour = mix({0.40f, 0.41f, 0.44f}, {0.56f, 0.54f, 0.50f}, tint);
    colour = colour * (0.72f + 0.5f * mottle);
    // Damp moss gathers towards the lower edge of some blocks.
    const float damp = clamp01((fractal(fx, fy, 4, 4, 3, 23) - 0.52f) * 4.0f);
    colour = mix(colour, {0.26f, 0.34f, 0.18f}, damp * static_cast<float>(ly) / 15.0f * 0.8f);
    const int d = edgeDistance(lx - 1, ly - 1, w - 1, 15);
    const float pits = unit(hash(x, y, 24)) > 0.95f ? 0.15f : 0.0f;
    return {colour, 0.45f + 0.45f * bevel(static_cast<float>(d), 2.5f) + 0.1f * mottle - pits};
}

// Painted metal panels with a raised frame, rivets and patches of rust.
Surface panels(int x, int y) {
    const int lx = x % 32;
    const int ly = y % 32;
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    const float rust = clamp01((fractal(fx, fy, 4, 4, 4, 31) - 0.58f) * 5.0f);
    const Colour paint{0.20f, 0.40f, 0.41f};
    const Colour rusty{0.46f, 0.24f, 0.10f};
    const int d = edgeDistance(lx, ly, 32, 32);
    if (d == 0) {
        return {Colour{0.08f, 0.10f, 0.10f}, 0.0f};
    }
    for (int cx : {4, 27}) {
        for (int cy : {4, 27}) {
            const float rx = static_cast<float>(lx) - static_cast<float>(cx);
            const float ry = static_cast<float>(ly) - static_cast<float>(cy);
            const float r2 = rx * rx + ry * ry;
            if (r2 <= 2.6f) {
                const float dome = std::sqrt(1.0f - r2 / 2.6f);
                return {mix({0.55f, 0.58f, 0.56f}, rusty, rust * 0.6f) * (0.8f + 0.2f * dome),
                        1.0f + 0.6f * dome};
            }
        }
    }
    Colour colour = mix(paint, rusty, rust);
    if (d <= 2) {
        return {colour * 1.08f, 1.0f};
    }
    if (d == 3) {
        return {colour * 0.9f, 0.7f};
    }
    // Horizontal brushing on the recessed face.
    const float brush = tile_noise::value(fx, fy, 2, 64, 32);
    colour = colour * (0.82f + 0.3f * brush);
    return {colour, 0.45f + 0.05f * brush};
}

// Glazed floor tiles in two colours, 16 x 16, with grout lines.
Surface tiles(int x, int y) {
    const int lx = x % 16;
    const int ly = y % 16;
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    const float glaze = fractal(fx, fy, 8, 8, 3, 41);
    if (lx == 0 || ly == 0) {
        return {Colour{0.36f, 0.34f, 0.31f} * (0.8f + 0.3f * glaze), 0.0f};
    }
    const int tx = x / 16;
    const int ty = y / 16;
    const bool light = (tx + ty) % 2 == 0;
    Colour colour = light ? Colour{0.80f, 0.74f, 0.60f} : Colour{0.60f, 0.28f, 0.18f};
    colour = colour * (0.9f + 0.18f * unit(hash(tx, ty, 42)));
    colour = colour * (0.9f + 0.18f * glaze);
    const float chip = unit(hash(x, y, 43)) > 0.97f ? 0.85f : 1.0f;
    const int d = edgeDistance(lx - 1, ly - 1, 15, 15);
    return {colour * chip, 0.75f + 0.25f * bevel(static_cast<float>(d) + 0.5f, 1.5f)};
}

// Wooden floor planks, 8 pixels wide, each course split by two butt joints.
Surface planks(int x, int y) {
    const int row = y / 8;
    const int ly = y % 8;
    const int joint1 = static_cast<int>(hash(row, 0, 51) % 64);
    const int joint2 = joint1 + 24 + static_cast<int>(hash(row, 1, 51) % 16);
    const int along1 = wrap(x - joint1, size);
    const int along2 = wrap(x - joint2, size);
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    if (ly == 0 || along1 == 0 || along2 == 0) {
        return {Colour{0.10f, 0.06f, 0.04f}, 0.0f};
    }
    const bool firstBoard = along1 < wrap(joint2 - joint1, size);
    const float tint = unit(hash(row, firstBoard ? 2 : 3, 52));
    // Rings: bands of a noise stretched along the boards.
    const float rings = fractal(fx, fy, 2, 32, 3, 53 + static_cast<std::uint32_t>(row)) * 9.0f;
    const float band = rings - std::floor(rings);
    const float grain = 0.78f + 0.22f * tile_noise::smooth(std::fabs(band * 2.0f - 1.0f));
    Colour colour = mix({0.46f, 0.29f, 0.15f}, {0.64f, 0.44f, 0.25f}, tint) * grain;
    const bool nail = (ly == 3 || ly == 5) && (along1 == 2 || along2 == 2);
    if (nail) {
        return {Colour{0.18f, 0.16f, 0.15f}, 0.8f};
    }
    const int d = std::min(ly - 1, 7 - ly);
    return {colour, 0.7f + 0.3f * bevel(static_cast<float>(d) + 0.5f, 1.5f)};
}

// Irregular flagstones with dark joints.
Surface flagstones(int x, int y) {
    const float fx = static_cast<float>(x) + 0.5f;
    const float fy = static_cast<float>(y) + 0.5f;
    const tile_noise::Cells c = tile_noise::cells(fx, fy, 4, 61);
    const float edge = c.secondNearest - c.nearest;
    const float mottle = fractal(fx, fy, 8, 8, 4, 62);
    if (edge < 1.3f) {
        return {Colour{0.13f, 0.12f, 0.11f} * (0.8f + 0.4f * mottle), 0.0f};
    }
    const float tint = unit(hash(c.id, 0, 63));
    const float warmth = unit(hash(c.id, 1, 63));
    Colour colour = mix({0.40f, 0.38f, 0.36f}, {0.56f, 0.52f, 0.46f}, tint);
    colour = mix(colour, {0.52f, 0.42f, 0.32f}, warmth * 0.5f);
    colour = colour * (0.75f + 0.45f * mottle);
    return {colour, 0.4f + 0.5f * bevel(edge - 1.3f, 3.0f) + 0.1f * mottle};
}

// A coffered ceiling: wooden beams on a 32-pixel grid, a gilded moulding and a
// deep blue recess with a gilded rosette.
Surface coffers(int x, int y) {
    const int lx = x % 32;
    const int ly = y % 32;
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    const int dx = std::min(lx, 31 - lx);
    const int dy = std::min(ly, 31 - ly);
    const int d = std::min(dx, dy);
    const Colour gold{0.80f, 0.62f, 0.26f};
    if (d <= 3) {
        // Grain runs along the beam: across x for the horizontal beams.
        const bool horizontal = dy <= dx;
        const float grain = horizontal ? tile_noise::value(fx, fy, 4, 64, 71)
                                       : tile_noise::value(fx, fy, 64, 4, 71);
        const Colour wood = Colour{0.42f, 0.27f, 0.15f} * (0.8f + 0.35f * grain);
        return {wood, d == 0 ? 0.85f : 1.0f};
    }
    if (d <= 5) {
        return {gold * (d == 4 ? 0.95f : 0.75f), d == 4 ? 0.75f : 0.5f};
    }
    const float cx = std::fabs(static_cast<float>(lx) - 15.5f);
    const float cy = std::fabs(static_cast<float>(ly) - 15.5f);
    const float diamond = cx + cy;
    if (diamond < 5.0f || (std::min(cx, cy) < 0.8f && diamond < 8.0f)) {
        return {gold * (0.85f + 0.15f * unit(hash(x, y, 72))), 0.55f - 0.04f * diamond};
    }
    const float plaster = fractal(fx, fy, 16, 16, 3, 73);
    return {Colour{0.15f, 0.19f, 0.36f} * (0.85f + 0.3f * plaster), 0.3f};
}

// ---- Lighting and output.

struct TextureRecipe {
    const char* file;
    Surface (*paint)(int x, int y);
    float relief; // how strongly height differences catch the light
};

const TextureRecipe textureRecipes[] = {
    {"wall1.png", bricks, 2.2f},   {"wall2.png", stoneBlocks, 2.0f},
    {"wall3.png", panels, 1.8f},   {"floor1.png", tiles, 1.6f},
    {"floor2.png", planks, 1.6f},  {"floor3.png", flagstones, 1.8f},
    {"floor4.png", coffers, 1.8f},
};

std::uint8_t toByte(float v) {
    return static_cast<std::uint8_t>(std::lrint(clamp01(v) * 255.0f));
}

// Lights the height field from the upper left; neighbours wrap so the light
// across the tile's edges matches its inside.
std::vector<std::uint8_t> render(const TextureRecipe& recipe) {
    std::vector<Surface> surface(size * size);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            surface[y * size + x] = recipe.paint(x, y);
        }
    }
    const auto height = [&](int x, int y) {
        return surface[wrap(y, size) * size + wrap(x, size)].height;
    };
    const float lx = -0.45f;
    const float ly = -0.60f;
    const float lz = 0.66f;
    const float norm = std::sqrt(lx * lx + ly * ly + lz * lz);
    std::vector<std::uint8_t> rgb;
    rgb.reserve(size * size * 3);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float gx = (height(x + 1, y) - height(x - 1, y)) * 0.5f * recipe.relief;
            const float gy = (height(x, y + 1) - height(x, y - 1)) * 0.5f * recipe.relief;
            const float nl = std::sqrt(gx * gx + gy * gy + 1.0f);
            const float lambert = (-gx * lx - gy * ly + lz) / (nl * norm);
            const float light = std::max(0.0f, lambert) / (lz / norm);
            // Grooves also receive less light from around them.
            const float occlusion = 0.72f + 0.28f * clamp01(height(x, y));
            const Colour c = surface[y * size + x].colour * (light * occlusion);
            rgb.push_back(toByte(c.r));
            rgb.push_back(toByte(c.g));
            rgb.push_back(toByte(c.b));
        }
    }
    return rgb;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-textures OUTDIR\n");
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    for (const TextureRecipe& recipe : textureRecipes) {
        if (!png_file::write((outDir / recipe.file).string(), render(recipe).data(), size, size,
                             false, "make-textures")) {
            return 1;
        }
    }
    return 0;
}
