// Where the options page's group lies: the music and sound switches and the
// picture row, taken together, centred on the page's middle (x 193 to 608),
// over Back, which stays in the middle for the best-times and help pages too.
#pragma once

#include <cstdint>

// The switches' ticks, one column right of their captions.
inline constexpr int32_t kOptionTickX = 327;
// The three thumbnail slots, drawn at (x, kThumbTop); each wears its frame
// three pixels around it.
inline constexpr int32_t kThumbX[3] = {357, 447, 537};
inline constexpr int32_t kThumbTop = 340;
