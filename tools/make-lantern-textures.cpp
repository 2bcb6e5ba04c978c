// make-lantern-textures OUTDIR: draws the textures of the Lantern Yard sample
// level, each of its own size, and writes them as 8-bit PNG files into OUTDIR:
// a 256 x 128 dusk sky, a 64 x 48 iron grate whose gaps are clear (alpha 0), a
// 128 x 64 wall of wide panels and a 32 x 16 trim; and the pictures of its things,
// clear around their shapes: a 16 x 48 lamp post in three frames of flicker, a
// 24 x 32 barrel and a 16 x 32 lantern hanging from its chain. Fixed seeds and fixed
// compression settings: the output bytes are the same on every run.

#include "PngFile.h"
#include "TileNoise.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using tile_noise::hash;
using tile_noise::unit;
using tile_noise::wrap;

struct Rgba {
    float r, g, b, a;
};

Rgba mix(Rgba x, Rgba y, float t) {
    return {x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
            x.a + (y.a - x.a) * t};
}

Rgba shade(Rgba c, float k) {
    return {c.r * k, c.g * k, c.b * k, c.a};
}

float clamp01(float v) {
    return std::min(1.0f, std::max(0.0f, v));
}

// Grain: a little per-texel variation, repeating with the image.
float grain(int x, int y, std::uint32_t seed) {
    return 0.92f + 0.16f * unit(hash(x, y, seed));
}

// The horizon stands at row 100: above it the sky darkens from the glow of the
// set sun to night, below it a line of hills, darker with distance. The hills'
// profile is a sum of waves whose periods divide 256, so the panorama closes.
Rgba sky(int x, int y) {
    constexpr float pi = 3.14159265f;
    const float t = static_cast<float>(x) / 256.0f * 2.0f * pi;
    const float hills = 100.0f - 9.0f - 5.0f * std::sin(t * 2.0f + 0.6f) -
                        3.0f * std::sin(t * 5.0f + 1.3f) - 1.5f * std::sin(t * 11.0f);
    if (static_cast<float>(y) >= hills) {
        const Rgba near = {0.10f, 0.09f, 0.12f, 1.0f};
        return shade(near, grain(x, y, 71u));
    }
    const float height = clamp01((100.0f - static_cast<float>(y)) / 100.0f);
    const Rgba glow = {0.95f, 0.55f, 0.30f, 1.0f};
    const Rgba dusk = {0.45f, 0.30f, 0.50f, 1.0f};
    const Rgba night = {0.05f, 0.07f, 0.20f, 1.0f};
    Rgba c =
        height < 0.3f ? mix(glow, dusk, height / 0.3f) : mix(dusk, night, (height - 0.3f) / 0.7f);
    // A few stars in the upper half, none in the top rows, which go on above the image.
    if (y >= 12 && height > 0.5f && hash(x, y, 5u) % 173u == 0u) {
        c = mix(c, {1.0f, 1.0f, 0.9f, 1.0f}, 0.8f);
    }
    return c;
}

// Vertical bars 6 texels wide every 16, two crossing rails; everything else clear.
Rgba grate(int x, int y) {
    const int bar = wrap(x, 16);
    const bool vertical = bar >= 5 && bar < 11;
    const bool rail = (y >= 4 && y < 10) || (y >= 38 && y < 44);
    if (!vertical && !rail) {
        return {0.0f, 0.0f, 0.0f, 0.0f};
    }
    // Round bars: lit on the left, dark on the right.
    const float across = vertical ? static_cast<float>(bar - 5) / 5.0f : 0.5f;
    const float light = 0.55f + 0.45f * std::sin(across * 3.14159265f) - 0.15f * across;
    const Rgba iron = {0.36f, 0.34f, 0.33f, 1.0f};
    return shade(iron, light * grain(x, y, 23u));
}

// Four boards of 32 texels, each with a bevelled frame and a grain of its own.
Rgba panels(int x, int y) {
    const int lx = wrap(x, 32);
    const int edge = std::min(std::min(lx, 31 - lx), std::min(y, 63 - y));
    const float bevel = edge < 3 ? 0.65f + 0.1f * static_cast<float>(edge) : 1.0f;
    const int board = x / 32;
    const Rgba wood = {0.48f, 0.30f, 0.16f, 1.0f};
    const float streak =
        0.9f + 0.1f * std::sin(static_cast<float>(lx) * 0.7f + static_cast<float>(board));
    return shade(wood,
                 bevel * streak * (0.95f + 0.1f * unit(hash(board, 0, 41u))) * grain(x, y, 42u));
}

// A band of two colours with a dark line between: for the step faces.
Rgba trim(int x, int y) {
    const Rgba brass = {0.70f, 0.55f, 0.22f, 1.0f};
    const Rgba dark = {0.18f, 0.14f, 0.10f, 1.0f};
    const Rgba c = y < 7 ? brass : (y < 9 ? dark : shade(brass, 0.7f));
    const float stud = (wrap(x, 8) == 3 && y >= 11 && y < 14) ? 1.3f : 1.0f;
    return shade(c, stud * grain(x, y, 9u));
}

// A flame's glow: warm at the heart, dimmer and redder towards the edge of the
// glass; flicker scales it and moves its heart up or down.
Rgba flame(int x, int y, float flicker, int heart) {
    const float dx = static_cast<float>(x) - 7.5f;
    const float dy = static_cast<float>(y - heart);
    const float glow = clamp01(1.0f - std::sqrt(dx * dx + dy * dy * 0.5f) / 6.0f) * flicker;
    const Rgba edge = {0.55f, 0.25f, 0.08f, 1.0f};
    const Rgba heat = {1.0f, 0.92f, 0.6f, 1.0f};
    return mix(edge, heat, glow);
}

// Iron: dark, lit a little from the left.
Rgba iron(int x, int y, float across) {
    const Rgba metal = {0.16f, 0.15f, 0.15f, 1.0f};
    return shade(metal, (1.1f - 0.4f * across) * grain(x, y, 57u));
}

const Rgba clear = {0.0f, 0.0f, 0.0f, 0.0f};

// A post with a glass lantern on top: rows 2 to 15 the lantern, then the post
// down to a foot on rows 44 to 47.
Rgba lampPost(int x, int y, float flicker, int heart) {
    if (y < 2) {
        return x >= 5 && x < 11 ? iron(x, y, static_cast<float>(x - 5) / 6.0f) : clear;
    }
    if (y < 16) {
        if (x < 3 || x > 12) {
            return clear;
        }
        const bool frame = x == 3 || x == 12 || y == 2 || y == 15;
        return frame ? iron(x, y, static_cast<float>(x - 3) / 9.0f) : flame(x, y, flicker, heart);
    }
    const bool post = x >= 7 && x < 9;
    const bool foot = y >= 44 && x >= 4 && x < 12;
    return post || foot ? iron(x, y, static_cast<float>(x - 4) / 8.0f) : clear;
}

Rgba lampA(int x, int y) {
    return lampPost(x, y, 1.0f, 9);
}
Rgba lampB(int x, int y) {
    return lampPost(x, y, 0.8f, 10);
}
Rgba lampC(int x, int y) {
    return lampPost(x, y, 0.9f, 8);
}

// A barrel of staves bulging at the middle, with three hoops; clear outside.
Rgba barrel(int x, int y) {
    const float middle = (static_cast<float>(y) - 15.5f) / 16.0f;
    const float half = 10.0f + 2.0f * (1.0f - middle * middle);
    const float across = (static_cast<float>(x) - 11.5f) / half;
    if (std::fabs(across) > 1.0f) {
        return clear;
    }
    const float curve = std::sqrt(1.0f - across * across);
    const bool hoop = y < 3 || (y >= 14 && y < 17) || y >= 29;
    const Rgba wood = {0.42f, 0.26f, 0.13f, 1.0f};
    const Rgba band = {0.25f, 0.24f, 0.22f, 1.0f};
    const float stave = wrap(x, 4) == 0 ? 0.8f : 1.0f;
    return shade(hoop ? band : wood, (0.45f + 0.6f * curve) * stave * grain(x, y, 61u));
}

// A chain down rows 0 to 15, then a small lantern, lit.
Rgba hangingLantern(int x, int y) {
    if (y < 16) {
        const bool link = (y / 2) % 2 == 0 ? x >= 7 && x < 9 : x == 6 || x == 9;
        return link ? iron(x, y, 0.3f) : clear;
    }
    if (x < 4 || x > 11) {
        return clear;
    }
    const bool frame = x == 4 || x == 11 || y == 16 || y >= 30;
    return frame ? iron(x, y, static_cast<float>(x - 4) / 7.0f) : flame(x, y, 0.9f, 23);
}

struct Recipe {
    const char* file;
    int width;
    int height;
    bool alpha;
    Rgba (*paint)(int x, int y);
};

const Recipe recipes[] = {
    {"lantern-sky.png", 256, 128, false, sky},
    {"lantern-grate.png", 64, 48, true, grate},
    {"lantern-panels.png", 128, 64, false, panels},
    {"lantern-trim.png", 32, 16, false, trim},
    {"lantern-lamp-a.png", 16, 48, true, lampA},
    {"lantern-lamp-b.png", 16, 48, true, lampB},
    {"lantern-lamp-c.png", 16, 48, true, lampC},
    {"lantern-barrel.png", 24, 32, true, barrel},
    {"lantern-hanging.png", 16, 32, true, hangingLantern},
};

std::uint8_t toByte(float v) {
    return static_cast<std::uint8_t>(std::lrint(clamp01(v) * 255.0f));
}

// The recipe's texels, row by row, as the PNG file takes them.
std::vector<std::uint8_t> render(const Recipe& recipe) {
    const int channels = recipe.alpha ? 4 : 3;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(recipe.width * recipe.height * channels));
    for (int y = 0; y < recipe.height; ++y) {
        for (int x = 0; x < recipe.width; ++x) {
            const Rgba c = recipe.paint(x, y);
            bytes.push_back(toByte(c.r));
            bytes.push_back(toByte(c.g));
            bytes.push_back(toByte(c.b));
            if (recipe.alpha) {
                bytes.push_back(toByte(c.a));
            }
        }
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-lantern-textures OUTDIR\n");
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    std::error_code error;
    std::filesystem::create_directories(outDir, error);
    for (const Recipe& recipe : recipes) {
        if (!png_file::write((outDir / recipe.file).string(), render(recipe).data(), recipe.width,
                             recipe.height, recipe.alpha, "make-lantern-textures")) {
            return 1;
        }
    }
    return 0;
}
