// The last move as the player sees it: its tile on the way from the cell it
// left into the one it now holds, for a tenth of a second from the frame of
// the move. Drawing only: the board holds the tile in its new cell from the
// move on, and a newer move ends this one's slide at once.
#pragma once

#include <cstdint>
#include <optional>

#include "puzzle/MoveHistory.h"

class TileSlide {
public:
    static constexpr uint32_t kSlideMs = 100;

    // The tile now in `to` left `from` at `tick`.
    void Start(Cell from, Cell to, uint32_t tick);
    // The tile is drawn in its cell from now on.
    void Stop() { moving_ = false; }

    // How far the tile has come at `tick`, from 0 (in `from`) to 1 (home in
    // `to`), eased so that it settles softly; none once it is in its cell.
    std::optional<double> Progress(uint32_t tick) const;
    Cell From() const { return from_; }
    Cell To() const { return to_; }

private:
    Cell from_;
    Cell to_;
    uint32_t startTick_ = 0;
    bool moving_ = false;
};
