// The look of the empty slot that the blank tile shows: a dim, cool copy of
// the picture, sunk below the tiles, with a soft shadow from the top and left
// edges and fine diagonal grooves. The asset generator draws the Hollow files
// of the game's own pictures with it, and the game makes the blank tile of a
// player's picture with it, so both look alike.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

struct HollowRgb {
    uint8_t r = 0, g = 0, b = 0;
};

// The slot's colour at (x, y) of a picture whose colour there is (r, g, b).
inline HollowRgb HollowPixel(uint8_t r, uint8_t g, uint8_t b, int x, int y) {
    const double l = 0.3 * r + 0.59 * g + 0.11 * b;
    double shadow = std::min(1.0, std::min(x, y) / 20.0);
    shadow = 0.3 + 0.7 * std::sqrt(shadow);
    shadow *= 1.0 + 0.13 * std::sin((x + y) * 0.55);
    const auto channel = [&](double v, double tint) {
        const double m = (0.35 * v + 0.65 * l) * 0.34 * shadow + tint;
        return static_cast<uint8_t>(std::clamp(m, 0.0, 255.0));
    };
    return HollowRgb{channel(r, 6), channel(g, 8), channel(b, 18)};
}
