// The focus: which control the keys are on, moved by the frame's focus keys
// before anything is drawn, and pressed by Enter, Space or a controller's A.
// The controls ask it whether they look hovered and whether they are pressed.
#include "input/Focus.h"

#include <algorithm>
#include <iterator>

#include "app/Game.h"

namespace {

using enum Control;

constexpr Control kSidebar[] = {Shuffle, Tile, HighScores, Options, Help, Exit};
// On the board the arrows move tiles; Tab goes from the board to the sidebar
// and, past Exit, back to the board.
constexpr Control kBoard[] = {Board, Shuffle, Tile, HighScores, Options, Help, Exit};
constexpr Control kSolved[] = {ShuffleAgain, NextLevel, Shuffle, Tile, HighScores, Options, Help, Exit};
constexpr Control kOptions[] = {Music, Numbers, Sound, Picture0, Picture1, Picture2, RowLeft, RowRight, Back};
constexpr Control kPage[] = {Back};
constexpr Control kHelp[] = {HelpPage, Back};

}  // namespace

std::span<const Control> FocusOrder(Screen screen) {
    switch (screen) {
        case ScreenPreview:
        case ScreenTileView: return kSidebar;
        case ScreenShuffle:
        case ScreenPlaying: return kBoard;
        case ScreenSolved: return kSolved;
        case ScreenOptions: return kOptions;
        case ScreenHighScores: return kPage;
        case ScreenHelp: return kHelp;
        case ScreenPreparing: return {};
    }
    return {};
}

Control StepFocus(std::span<const Control> order, Control from, int step,
                  const std::function<bool(Control)>& shown) {
    const int count = static_cast<int>(order.size());
    if (count == 0) return Control::None;
    const auto found = std::find(order.begin(), order.end(), from);
    int at = found == order.end() ? (step > 0 ? -1 : count) : static_cast<int>(std::distance(order.begin(), found));
    for (int tries = 0; tries < count; ++tries) {
        at = ((at + step) % count + count) % count;
        if (shown(order[at])) return order[at];
    }
    return Control::None;
}

void Game::FocusFrame() {
    // The mouse used: the hover frame follows the pointer again, and no
    // control keeps a focus the player no longer sees.
    if (clicked || cursor != focus.mouse) {
        focus.fromKeys = false;
        focus.control = Control::None;
    }
    focus.mouse = cursor;

    const std::span<const Control> order = FocusOrder(screen);
    const auto shown = [this](Control c) { return ControlShown(c); };
    const bool onBoard = screen == ScreenPlaying || screen == ScreenShuffle;
    // A control of another screen takes the focus away with it; one hidden
    // for now (a row arrow at the row's end) hands it on to the next.
    if (std::find(order.begin(), order.end(), focus.control) == order.end()) {
        focus.control = onBoard ? Control::Board : Control::None;
    } else if (!ControlShown(focus.control)) {
        focus.control = StepFocus(order, focus.control, 1, shown);
    }

    for (KeyPress press : keyPresses) {
        int step = 0;
        switch (press) {
            case KeyPress::FocusNext: step = 1; break;
            case KeyPress::FocusPrevious: step = -1; break;
            case KeyPress::Left:
            case KeyPress::Up: step = onBoard ? 0 : -1; break;
            case KeyPress::Right:
            case KeyPress::Down: step = onBoard ? 0 : 1; break;
            case KeyPress::Activate:
                if (focus.control == Control::Board) {
                    Hint();
                } else if (focus.control != Control::None) {
                    focus.pressed = focus.control;
                }
                break;
            default: break;
        }
        if (step == 0) continue;
        focus.control = StepFocus(order, focus.control, step, shown);
        focus.fromKeys = true;
    }
}

bool Game::LooksHovered(Control control, bool pointerInside) const {
    return focus.fromKeys ? focus.control == control : pointerInside;
}

bool Game::ControlPressed(Control control, bool pointerInside, const Rect& box) {
    const bool clickedHere = clicked && pointerInside;
    if (!clickedHere && (control == Control::None || focus.pressed != control)) return false;
    // The click sound, before the action: at the pointer for a click, at the
    // control for a key.
    if (soundOn) {
        if (clickedHere) {
            PlaySoundEffect(soundButton);
        } else {
            PlaySoundEffectAt(soundButton, {(box.left + box.right) / 2, (box.top + box.bottom) / 2});
        }
    }
    if (clickedHere) {
        clicked = false;
    } else {
        focus.pressed = Control::None;
    }
    return true;
}

bool Game::ControlShown(Control control) const {
    switch (control) {
        case Control::Picture0: return pictureRowFirst < PictureCount();
        case Control::Picture1: return pictureRowFirst + 1 < PictureCount();
        case Control::Picture2: return pictureRowFirst + 2 < PictureCount();
        case Control::RowLeft: return PictureRowCanMove(-1);
        case Control::RowRight: return PictureRowCanMove(1);
        default: return true;
    }
}
