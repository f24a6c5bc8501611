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
};

const RowArrow kRowArrows[2] = {
    {&Game::menuPictureLeft, {744, 355, 770, 385}, -1},
    {&Game::menuPictureRight, {772, 355, 798, 385}, +1},
};

}  // namespace

void Game::PictureRowArrows() {
    const int32_t first = pictureRowFirst;
    const int32_t lastFirst = PictureCount() - 3;
    for (const RowArrow& arrow : kRowArrows) {
        const int32_t to = first + arrow.step;
        // No arrow where the row cannot go.
        if (to < 0 || to > lastFirst) continue;
        if (!DrawControl(this->*arrow.image, arrow.box) || !clicked) continue;
        if (soundOn) PlaySoundEffect(soundButton);
        clicked = false;
        pictureRowFirst = to;
    }
}

void Game::KeepChosenPictureInRow() {
    if (pictureIndex < pictureRowFirst) pictureRowFirst = pictureIndex;
    if (pictureIndex > pictureRowFirst + 2) pictureRowFirst = pictureIndex - 2;
    pictureRowFirst = std::clamp(pictureRowFirst, 0, std::max(0, PictureCount() - 3));
}
