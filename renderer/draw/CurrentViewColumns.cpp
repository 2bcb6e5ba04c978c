#include "renderer/draw/CurrentViewColumns.h"

#include "renderer/draw/FrameLoop.h"
#include "renderer/draw/Traversal.h"

#include <algorithm>

std::int32_t clipTop = 0;
std::int32_t clipBottom = screenHeight;
std::int32_t lastColumnVisits = 0;

std::int32_t projectRow(float height, float depth) {
    return projectRow(currentView(), height, depth);
}

void drawColumnPart(std::int32_t x, float height, float depth, std::uint8_t side,
                    std::int32_t texture, std::int32_t kind, float u, std::int32_t key) {
    ColumnState state = {framebuffer + x, clipTop, clipBottom, frameGeometry.width};
    drawColumnPart(state, x, height, depth, side, texture, kind, u, key);
    clipTop = state.top;
    clipBottom = state.bottom;
}

void drawColumnPart(ColumnState& state, std::int32_t x, float height, float depth,
                    std::uint8_t side, std::int32_t texture, std::int32_t kind, float u,
                    std::int32_t key) {
    drawColumnPart(currentView(), state, x, height, depth, side, texture, kind, u, key);
}

FlatRowStep flatColumnRay(std::int32_t x) {
    return flatColumnRay(currentView(), x);
}

void drawHit(ColumnState& state, const FlatRowStep& flatRay, float depth, std::int32_t,
             const Sector& sector, const Sector& behind, float u) {
    drawHit(currentView(), state, flatRay, depth, sector, behind,
            {behind.wallTexture, behind.wallTexture}, u);
}

void fillFlatCache(std::int32_t key, float height) {
    fillFlatCache(currentView(), key, height);
}

void prepareFlatCache() {
    prepareFlatCache(currentView());
}

std::int32_t renderColumn(ColumnState& state, std::int32_t column, std::int32_t sector,
                          const Ray& ray) {
    return renderColumn(currentView(), state, column, sector, ray);
}

void renderColumn(std::int32_t column, std::int32_t sector, Ray ray) {
    ColumnState state = {framebuffer + column, clipTop, clipBottom};
    lastColumnVisits = renderColumn(state, column, sector, ray);
    clipTop = state.top;
    clipBottom = state.bottom;
    deepestColumnVisits = std::max(deepestColumnVisits, lastColumnVisits);
}
