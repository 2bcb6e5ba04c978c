#include "renderer/draw/SectorLight.h"

#include <algorithm>

namespace {

constexpr std::int32_t stepsPerUnit = 256;
constexpr std::int32_t farthestSteps = 256 * stepsPerUnit;

} // namespace

std::int32_t depthSteps(float depth) {
    if (!(depth > 0.0f)) {
        return 0;
    }
    if (!(depth < 256.0f)) {
        return farthestSteps;
    }
    return static_cast<std::int32_t>(depth * static_cast<float>(stepsPerUnit));
}

void fillShades(const PackedPixel* texels, std::int32_t count, PackedPixel* shades) {
    for (std::int32_t s = 0; s <= darkestShade; ++s) {
        const auto keep = keepAll - static_cast<std::uint32_t>(s);
        for (std::int32_t i = 0; i < count; ++i) {
            shades[s * count + i] = shadePixel(texels[i], keep);
        }
    }
}

std::int32_t wallLift(float depth) {
    const std::int32_t steps = depthSteps(depth);
    const std::int32_t scale = steps == 0 ? 47 : std::min(47, 80 * stepsPerUnit / steps);
    return scale / 2;
}

std::int32_t flatLift(float depth) {
    const std::int32_t rows = std::min(127, 2 * depthSteps(depth) / stepsPerUnit);
    return 80 / (rows + 1);
}
