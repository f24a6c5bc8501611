// The options page: Back, the music and sound switches, the picture choice.
// Back also serves the best-times and help pages. The three thumbnail slots
// show the pictures from pictureRowFirst on (PictureRow.cpp pages the row).
#include "app/Game.h"
#include "screens/OptionsLayout.h"

namespace {

struct OptionRow {
    SurfacePtr Game::*caption;
    int32_t x, y, w, h;
    Rect hover;  // strict on all sides
    Control control;  // the picture's: one for each thumbnail slot
};

const OptionRow kOptions[4] = {
    {&Game::menuBack, 326, 450, 148, 67, {326, 450, 474, 517}, Control::Back},
    {&Game::menuMusic, 212, 150, 105, 32, {212, 150, 352, 182}, Control::Music},
    {&Game::menuSound, 202, 250, 125, 42, {202, 250, 362, 292}, Control::Sound},
    // The region reaches ten pixels past the last thumbnail so that all of
    // its hit box lies inside it: its right-hand columns answer a click too.
    {&Game::menuPicture, 193, 350, 150, 40, {193, 330, 607, 390}, Control::None},
};

struct Thumbnail {
    int32_t x;            // drawn at (x, kThumbTop)
    int32_t hitLeft;      // picked when hitLeft < cursor.x < hitRight
    int32_t hitRight;
};

const Thumbnail kThumbnails[3] = {
    {kThumbX[0], kThumbX[0], kThumbX[0] + 60}, {kThumbX[1], kThumbX[1], kThumbX[1] + 60},
    {kThumbX[2], kThumbX[2], kThumbX[2] + 70}};
const Control kSlots[3] = {Control::Picture0, Control::Picture1, Control::Picture2};

bool Inside(const Rect& r, Point p) { return r.left < p.x && p.x < r.right && r.top < p.y && p.y < r.bottom; }

}  // namespace

void Game::OptionControl(int32_t index) {
    if (index < 0 || index > 3) return;
    const OptionRow& row = kOptions[index];
    ReadCursor();
    bool hovered = false;
    bool pressed = false;
    int32_t chosen = -1;
    const Rect thumbFrame{0, 0, 66, 66};

    switch (index) {
        case OptionBack:
            hovered = LooksHovered(row.control, Inside(row.hover, cursor));
            pressed = ControlPressed(row.control, Inside(row.hover, cursor), row.hover);
            break;
        case OptionMusic:
        case OptionSound: {
            hovered = LooksHovered(row.control, Inside(row.hover, cursor));
            const bool on = index == OptionMusic ? musicOn : soundOn;
            const Rect tick{on ? 0 : 25, 0, on ? 25 : 50, 29};
            DrawImage(kOptionTickX, index == OptionMusic ? 155 : 260, menuButton, &tick, BlitMode::Keyed);
            pressed = ControlPressed(row.control, Inside(row.hover, cursor), row.hover);
            break;
        }
        case OptionPicture: {
            const bool inRegion = Inside(row.hover, cursor);
            // The slot under the pointer, and the one that looks hovered.
            int32_t under = -1;
            int32_t looked = -1;
            for (int32_t k = 0; k < 3 && pictureRowFirst + k < PictureCount(); ++k) {
                if (inRegion && under < 0 && kThumbnails[k].hitLeft < cursor.x && cursor.x < kThumbnails[k].hitRight) {
                    under = k;
                }
                if (focus.fromKeys && focus.control == kSlots[k]) looked = k;
            }
            if (!focus.fromKeys) looked = under;
            // Between the thumbnails, or on the caption: nothing to pick.
            if (inRegion && under < 0) clicked = false;
            hovered = focus.fromKeys ? looked >= 0 : inRegion;
            if (hovered && looked >= 0) {
                DrawImage(kThumbnails[looked].x - 3, kThumbTop - 3, borderImage, &thumbFrame, BlitMode::Opaque);
            } else if (!hovered && pictureIndex >= pictureRowFirst && pictureIndex < pictureRowFirst + 3) {
                const int32_t slot = pictureIndex - pictureRowFirst;
                DrawImage(kThumbnails[slot].x - 3, kThumbTop - 3, borderImage, &thumbFrame, BlitMode::Opaque);
            }
            for (int32_t k = 0; k < 3 && pictureRowFirst + k < PictureCount(); ++k) {
                DrawImage(kThumbnails[k].x, kThumbTop, pictureThumb[pictureRowFirst + k], nullptr, BlitMode::Opaque);
            }
            MarkChosenPicture();
            for (int32_t k = 0; k < 3 && pictureRowFirst + k < PictureCount() && !pressed; ++k) {
                const Rect box{kThumbnails[k].hitLeft, row.hover.top, kThumbnails[k].hitRight, row.hover.bottom};
                pressed = ControlPressed(kSlots[k], under == k, box);
                if (pressed) chosen = pictureRowFirst + k;
            }
            PictureRowArrows();
            break;
        }
        default:
            break;
    }

    const Rect frame{hovered ? row.w : 0, 0, (hovered ? row.w : 0) + row.w, row.h};
    DrawImage(row.x, row.y, this->*row.caption, &frame, BlitMode::Keyed);
    DrawPointer(pointerSprite, cursor.x, cursor.y);

    if (!pressed) return;
    switch (index) {
        case OptionBack:
            screen = returnScreen;
            break;
        case OptionMusic:
            if (musicOn) {
                MusicOff();
                musicOn = false;
            } else {
                MusicOn();
                musicOn = true;
            }
            break;
        case OptionSound:
            soundOn = !soundOn;
            break;
        case OptionPicture:
            if (chosen != pictureIndex) {
                ChoosePicture(chosen);
                returnScreen = ScreenPreview;
            }
            break;
        default:
            break;
    }
}
