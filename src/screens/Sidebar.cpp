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

// Where the six sidebar buttons are drawn: one column of plates alike, each
// inside its button's hit box, at an even pitch.
constexpr int32_t kColumnLeft = 640, kColumnWidth = 88, kColumnHeight = 27;
constexpr int32_t kColumnTop[6] = {110, 187, 341, 264, 418, 495};  // by button index

}  // namespace

void Game::DrawSidebar() {
    DrawImage(0, 0, backgroundImage, nullptr, BlitMode::Opaque);
    DrawImage(45, 45, borderImage, nullptr, BlitMode::Opaque);
    const Rect thumbFrame{0, 0, 64, 64};
    DrawImage(658, 33, borderImage, &thumbFrame, BlitMode::Opaque);
    if (pictureIndex >= 0 && pictureIndex < PictureCount()) {
        DrawImage(660, 35, pictureThumb[pictureIndex], nullptr, BlitMode::Opaque);
    }
    DrawGridSize();
    for (int32_t index : {ButtonShuffle, ButtonTile, ButtonHighScores, ButtonHelp, ButtonOptions, ButtonExit}) {
        SidebarButton(index);
    }
    UpdateClock();
}

bool Game::DrawControl(const SurfacePtr& image, const Rect& box, Control control) {
    return DrawControl(image, box, box, control);
}

bool Game::DrawControl(const SurfacePtr& image, const Rect& box, const Rect& drawn, Control control) {
    const bool inside = box.left < cursor.x && cursor.x < box.right && box.top < cursor.y && cursor.y < box.bottom;
    if (!image) return inside;
    // The hovered frame is the image's right half.
    const int32_t left = LooksHovered(control, inside) ? image->Width() / 2 : 0;
    const Rect frame{left, 0, left + drawn.right - drawn.left, drawn.bottom - drawn.top};
    DrawImage(drawn.left, drawn.top, image, &frame, BlitMode::Keyed);
    return inside;
}

void Game::SidebarButton(int32_t index) {
    if (index < 0 || index > 7) return;
    const ButtonRow& button = kButtons[index];
    const Rect& box = button.box;
    const SurfacePtr& image = (index == ButtonTile && screen == ScreenTileView && gameInProgress)
                                  ? menuResume
                                  : this->*button.image;
    const Rect drawn = index <= ButtonExit ? Rect{kColumnLeft, kColumnTop[index], kColumnLeft + kColumnWidth,
                                                 kColumnTop[index] + kColumnHeight}
                                          : box;
    const bool inside = DrawControl(image, box, drawn, button.control);

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
            helpPage = 0;  // the help opens on how to play
            break;
        case ButtonExit:
            SaveGameAtEnd();
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
