// The help: two pages on the pages' background, how to play and the keys
// and controller, each drawn at (69, 113) above Back. Left of Back a switch
// leads to the other page; it answers clicks, Enter and a controller's A
// like every control, with the click sound.
#include "app/Game.h"

namespace {

// Where the switch is drawn, and its hit box (strict on all sides): as high
// as Back, twenty pixels left of it.
constexpr Rect kHelpSwitch{126, 450, 306, 517};

}  // namespace

void Game::DrawHelpPage() {
    DrawImage(0, 0, backgroundOptionsImage, nullptr, BlitMode::Opaque);
    const bool keysPage = helpPage == 1;
    DrawImage(69, 113, keysPage ? helpKeysPageImage : helpPageImage, nullptr, BlitMode::Keyed);
    const bool inside = DrawControl(keysPage ? menuHelpRules : menuHelpKeys, kHelpSwitch, Control::HelpPage);
    if (ControlPressed(Control::HelpPage, inside, kHelpSwitch)) helpPage = keysPage ? 0 : 1;
    OptionControl(OptionBack);
}
