// Scaling the 800x600 RGB565 frame onto the screen, a rectangle at a time.
// The frame is first widened to 8 bits a channel (exactly: the bits of each
// channel repeated), which pixman scales many times faster than 5-6-5 pixels.
// Every screen pixel comes from one whole-frame mapping (the frame spread
// over the letterbox, sampled at pixel centres, bilinear, edges held), never
// from a stretch of the rectangle alone: any sequence of partial updates
// leaves the screen bit for bit as one full repaint would. At the frame's own
// size the frame is copied exactly.
#pragma once

#include <pixman.h>

#include <cstdint>

#include "gfx/Surface.h"
#include "platform/Letterbox.h"

// Pixels to show the frame on: a window surface or any buffer of a format
// pixman knows.
struct ScreenTarget {
    void* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitch = 0;  // bytes from one row to the next, a multiple of 4
    pixman_format_code_t format = PIXMAN_x8r8g8b8;
};

// The frame pixels that screen offset `at` (0..screenSize-1) reads on one axis
// when frameSize pixels are shown over screenSize: one, or two neighbours when
// the filter blends them.
struct FrameTaps {
    int first = 0;
    int last = 0;
};
FrameTaps TapsAt(int at, int frameSize, int screenSize);

// The screen pixels whose value depends on a pixel of frameRect when the frame
// is shown in box; empty (left == right) when there are none.
Rect ScreenRectFor(const Rect& frameRect, const Letterbox& box);

// Widens frameRect of the RGB565 frame into `wide`, the same frame as
// x8r8g8b8 pixels (both kScreenWidth x kScreenHeight).
void WidenRect(const uint16_t* frame, uint32_t* wide, const Rect& frameRect);

// Computes the pixels of screenRect (clipped to the box and the target) from
// the widened frame. False when pixman could not take the images.
bool ScaleRect(const uint32_t* wide, const ScreenTarget& target, const Letterbox& box, const Rect& screenRect);

// Black on every target pixel outside the box.
bool PaintBars(const ScreenTarget& target, const Letterbox& box);
