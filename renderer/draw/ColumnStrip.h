#pragma once

#include "renderer/draw/FrameLoop.h"
#include "renderer/draw/View.h"

#include <cstdint>

// The most columns one strip holds: one cache line of a frame row.
constexpr std::int32_t stripColumns = 16;

// Draws columns [first, end) of a view, at most stripColumns of them, as
// drawViewColumns does, but into a buffer of the calling thread's own whose rows
// are one cache line each, and then copies them into the view's pixels a row at a
// time. Drawn straight into a wide frame, a column steps a whole frame row per
// pixel: every pixel is a page of its own and, at widths of many times 256 pixels,
// rows fall on the same few cache sets and push each other out.
std::int32_t drawColumnStrip(const View& view, std::int32_t first, std::int32_t end,
                             OpenRows* open);
