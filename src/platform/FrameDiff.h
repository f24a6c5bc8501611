// What changed between two frames: the rectangles to show anew, so that a
// moving pointer or a ticking clock costs only its own few pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/Surface.h"

// Side of the square blocks the frames are compared in.
constexpr int kDiffBlock = 16;

// The rectangles of `now` that differ from `before` (both width x height,
// rows `width` pixels apart). The frames are compared block by block; the
// changed blocks of a band are joined where they touch, bands with the same
// columns are joined, and each rectangle is then shrunk to the changed pixels
// it holds. The rectangles do not overlap and cover every changed pixel.
std::vector<Rect> ChangedRects(const uint16_t* before, const uint16_t* now, int width, int height);
// The same, looked for only inside `area` (blocks counted from its corner).
std::vector<Rect> ChangedRects(const uint16_t* before, const uint16_t* now, int width, int height, Rect area);

// Pixels covered by the (non-overlapping) rectangles.
int64_t AreaOf(const std::vector<Rect>& rects);
