// The keyboard's and the game controller's way onto the controls: a focus
// that Tab, Shift+Tab, the arrows off the board and the d-pad move through
// the controls of the screen shown, in reading order, wrapping at the ends.
// It is drawn as the hover frame; the mouse, once moved, has that look back.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "app/Screen.h"
#include "platform/Platform.h"

// Every control a player can reach without the mouse.
enum class Control : uint8_t {
    None,
    Board,  // the board in play: no control of the sidebar is focused
    Shuffle,
    Tile,
    HighScores,
    Options,
    Help,
    Exit,
    ShuffleAgain,
    NextLevel,
    Music,
    Numbers,  // the options page's row that shows the tiles' numbers
    Sound,
    Picture0,  // the options page's three thumbnail slots
    Picture1,
    Picture2,
    RowLeft,  // the arrows that page the row of thumbnails
    RowRight,
    Back,
    HelpPage,  // the help's switch between its two pages
};

// The controls of a screen in reading order, as their hit boxes lie: the
// sidebar top to bottom; the solved page's own buttons before the sidebar at
// its right; on the options page Music, Numbers, Sound, the picture row, then
// Back; on the help the switch between its pages, left of Back.
std::span<const Control> FocusOrder(Screen screen);

// The control `step` places (+1 or -1) from `from` among those of `order`
// that `shown` lets through, wrapping at the ends; from a control not in the
// order, the first (or with -1 the last). None when nothing is shown.
Control StepFocus(std::span<const Control> order, Control from, int step, const std::function<bool(Control)>& shown);

struct Focus {
    Control control = Control::None;
    // The hover frame shows the focus rather than the control under the pointer.
    bool fromKeys = false;
    // Pressed from the keyboard or a controller in this frame, to be taken by
    // the control when it is drawn, as a click is.
    Control pressed = Control::None;
    // The pointer as the frame before found it.
    Point mouse;
};
