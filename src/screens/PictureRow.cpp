// With more than three pictures the options page shows three at a time: two
// small arrows beside the thumbnails move the row by one picture. They look
// and answer like the other controls: a hovered frame, the click sound.
#include <algorithm>

#include "app/Game.h"

namespace {

struct RowArrow {
    SurfacePtr Game::*image;
    Rect box;  // where it is drawn, and its hit box (strict on all sides)
    int32_t step;
    Control control;
};

const RowArrow kRowArrows[2] = {
    {&Game::menuPictureLeft, {744, 355, 770, 385}, -1, Control::RowLeft},
    {&Game::menuPictureRight, {772, 355, 798, 385}, +1, Control::RowRight},
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

void Game::KeepChosenPictureInRow() {
    if (pictureIndex < pictureRowFirst) pictureRowFirst = pictureIndex;
    if (pictureIndex > pictureRowFirst + 2) pictureRowFirst = pictureIndex - 2;
    pictureRowFirst = std::clamp(pictureRowFirst, 0, std::max(0, PictureCount() - 3));
}
