// A game controller: the d-pad and the left stick are the arrows (tiles on
// the board, the focus elsewhere), A is Enter, X is T, Y is S; B takes a move
// back, and on a page goes back; Start opens the options page and Back (or
// Select) the help page, and on a page either goes back.
#include "app/Game.h"

void Game::PadPresses() {
    const bool onPage = screen == ScreenOptions || screen == ScreenHighScores || screen == ScreenHelp;
    for (PadButton button : platform.TakePadPresses()) {
        switch (button) {
            case PadButton::Up: keyPresses.push_back(KeyPress::Up); break;
            case PadButton::Down: keyPresses.push_back(KeyPress::Down); break;
            case PadButton::Left: keyPresses.push_back(KeyPress::Left); break;
            case PadButton::Right: keyPresses.push_back(KeyPress::Right); break;
            case PadButton::A: keyPresses.push_back(KeyPress::Activate); break;
            case PadButton::X: keyPresses.push_back(KeyPress::Tile); break;
            case PadButton::Y: keyPresses.push_back(KeyPress::Shuffle); break;
            case PadButton::B:
                if (onPage) {
                    focus.pressed = Control::Back;
                } else {
                    keyPresses.push_back(KeyPress::Undo);
                }
                break;
            case PadButton::Start: focus.pressed = onPage ? Control::Back : Control::Options; break;
            case PadButton::Back: focus.pressed = onPage ? Control::Back : Control::Help; break;
        }
    }
}
