// The menu at the right of the play screens, and the buttons of the solved
// page, which work the same way.
#include "app/Game.h"

namespace {

struct ButtonRow {
    SurfacePtr Game::*image;
    Rect box;  // where it is drawn, and its hit box (strict on all sides)
    Control control;
};

const ButtonRow kButtons[8] = {
    {&Game::menuShuffle, {635, 100, 750, 147}, Control::Shuffle},
    {&Game::menuTile, {629, 175, 742, 222}, Control::Tile},
    {&Game::menuOptions, {630, 340, 755, 372}, Control::Options},
    {&Game::menuHighScores, {610, 250, 799, 294}, Control::HighScores},
    {&Game::menuHelp, {640, 412, 728, 445}, Control::Help},
    {&Game::menuExit, {630, 495, 753, 522}, Control::Exit},
    {&Game::menuShuffleAgain, {110, 500, 315, 542}, Control::ShuffleAgain},
    {&Game::menuNextLevel, {330, 500, 503, 541}, Control::NextLevel},
};

}  // namespace

void Game::DrawSidebar() {
    DrawImage(0, 0, backgroundImage, nullptr, BlitMode::Opaque);
    DrawImage(45, 45, borderImage, nullptr, BlitMode::Opaque);
    const Rect thumbFrame{0, 0, 64, 64};
    DrawImage(658, 33, borderImage, &thumbFrame, BlitMode::Opaque);
    if (pictureIndex >= 0 && pictureIndex < PictureCount()) {
        DrawImage(660, 35, pictureThumb[pictureIndex], nullptr, BlitMode::Opaque);
    }
    for (int32_t index : {ButtonShuffle, ButtonTile, ButtonHighScores, ButtonHelp, ButtonOptions, ButtonExit}) {
        SidebarButton(index);
    }
    UpdateClock();
}

bool Game::DrawControl(const SurfacePtr& image, const Rect& box, Control control) {
    const int32_t w = box.right - box.left;
    const int32_t h = box.bottom - box.top;
    const bool inside = box.left < cursor.x && cursor.x < box.right && box.top < cursor.y && cursor.y < box.bottom;
    const bool hovered = LooksHovered(control, inside);
    const Rect frame{hovered ? w : 0, 0, (hovered ? w : 0) + w, h};
    DrawImage(box.left, box.top, image, &frame, BlitMode::Keyed);
    return inside;
}

void Game::SidebarButton(int32_t index) {
    if (index < 0 || index > 7) return;
    const ButtonRow& button = kButtons[index];
    const Rect& box = button.box;
    const SurfacePtr& image = (index == ButtonTile && screen == ScreenTileView && gameInProgress)
                                  ? menuResume
                                  : this->*button.image;
    const bool inside = DrawControl(image, box, button.control);

    if (!ControlPressed(button.control, inside, box)) return;
    switch (index) {
        case ButtonShuffle:
            gameInProgress = false;
            screen = ScreenShuffle;
            break;
        case ButtonTile:
            if (screen == ScreenPlaying) gameInProgress = true;
            screen = (screen == ScreenTileView && gameInProgress) ? ScreenPlaying : ScreenTileView;
            break;
        case ButtonOptions:
            returnScreen = screen;
            screen = ScreenOptions;
            break;
        case ButtonHighScores:
            returnScreen = screen;
            screen = ScreenHighScores;
            break;
        case ButtonHelp:
            returnScreen = screen;
            screen = ScreenHelp;
            break;
        case ButtonExit:
            ReleaseAll();
            platform.Exit(1, true);
        case ButtonShuffleAgain:
            levelChoice = 6;
            break;
        case ButtonNextLevel:
            levelChoice = 7;
            break;
        default:
            break;
    }
}
