#include "puzzle/TileSlide.h"

void TileSlide::Start(Cell from, Cell to, uint32_t tick) {
    from_ = from;
    to_ = to;
    startTick_ = tick;
    moving_ = true;
}

std::optional<double> TileSlide::Progress(uint32_t tick) const {
    if (!moving_) return std::nullopt;
    // Unsigned: a tick counter that wraps during the slide does no harm.
    const uint32_t elapsed = tick - startTick_;
    if (elapsed >= kSlideMs) return std::nullopt;
    const double t = static_cast<double>(elapsed) / kSlideMs;
    return 1.0 - (1.0 - t) * (1.0 - t);
}
