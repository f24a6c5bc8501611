// With more than three pictures the options page shows three at a time: two
// small arrows under the ends of the row of thumbnails move it by one
// picture. They look and answer like the other controls: a hovered frame,
// the click sound. The chosen picture wears a tick, hovered or not.
#include <algorithm>

#include "app/Game.h"
#include "screens/OptionsLayout.h"

namespace {

struct RowArrow {
    SurfacePtr Game::*image;
    Rect box;  // where it is drawn, and its hit box (strict on all sides)
    int32_t step;
    Control control;
};

const RowArrow kRowArrows[2] = {
    {&Game::menuPictureLeft, {kThumbX[0], 410, kThumbX[0] + 26, 440}, -1, Control::RowLeft},
    {&Game::menuPictureRight, {kThumbX[2] + 34, 410, kThumbX[2] + 60, 440}, +1, Control::RowRight},
};

}  // namespace

bool Game::PictureRowCanMove(int32_t step) const {
    const int32_t to = pictureRowFirst + step;
    return to >= 0 && to <= PictureCount() - 3;
}

void Game::PictureRowArrows() {
    for (const RowArrow& arrow : kRowArrows) {
        // No arrow where the row cannot go.
        if (!PictureRowCanMove(arrow.step)) continue;
        const bool inside = DrawControl(this->*arrow.image, arrow.box, arrow.control);
        if (ControlPressed(arrow.control, inside, arrow.box)) pictureRowFirst += arrow.step;
    }
}

void Game::MarkChosenPicture() {
    const int32_t slot = pictureIndex - pictureRowFirst;
    if (slot < 0 || slot > 2) return;
    // The tick box's "on" frame, over the thumbnail's top-right corner.
    const Rect tick{0, 0, 25, 29};
    DrawImage(kThumbX[slot] + 46, kThumbTop - 14, menuButton, &tick, BlitMode::Keyed);
}

void Game::KeepChosenPictureInRow() {
    if (pictureIndex < pictureRowFirst) pictureRowFirst = pictureIndex;
    if (pictureIndex > pictureRowFirst + 2) pictureRowFirst = pictureIndex - 2;
    pictureRowFirst = std::clamp(pictureRowFirst, 0, std::max(0, PictureCount() - 3));
}
