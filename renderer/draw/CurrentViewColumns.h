#pragma once

#include "renderer/draw/ColumnDrawing.h"
#include "renderer/draw/Ray.h"

#include <cstdint>

// Single columns drawn from the program's current view (currentView: its camera,
// level, flat cache and framebuffer), the way tests and tools look at one column at
// a time. The drawing itself takes the view it is given and reads no frame state.

// The window of the column drawn through the calls below that take no window.
extern std::int32_t clipTop;
extern std::int32_t clipBottom;

// Number of sectors the last renderColumn(column, sector, ray) visited.
extern std::int32_t lastColumnVisits;

std::int32_t projectRow(float height, float depth);

// drawColumnPart into the framebuffer's column x and the window clipTop to clipBottom.
void drawColumnPart(std::int32_t x, float height, float depth, std::uint8_t side,
                    std::int32_t texture, std::int32_t kind, float u, std::int32_t key);
void drawColumnPart(ColumnState& column, std::int32_t x, float height, float depth,
                    std::uint8_t side, std::int32_t texture, std::int32_t kind, float u,
                    std::int32_t key);

FlatRowStep flatColumnRay(std::int32_t x);

// Both pieces in the wall texture of the sector behind (sectorIndex is kept for the
// callers; the sector's keys name its flats).
void drawHit(ColumnState& state, const FlatRowStep& flatRay, float depth, std::int32_t sectorIndex,
             const Sector& sector, const Sector& behind, float u);

void fillFlatCache(std::int32_t key, float height);
void prepareFlatCache();

// renderColumn into the framebuffer's column and the window clipTop to clipBottom;
// sets lastColumnVisits and raises deepestColumnVisits.
void renderColumn(std::int32_t column, std::int32_t sector, Ray ray);
std::int32_t renderColumn(ColumnState& state, std::int32_t column, std::int32_t sector,
                          const Ray& ray);
