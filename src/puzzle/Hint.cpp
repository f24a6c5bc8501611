// Enter, Space or a controller's A with the focus on the board in play. The
// place for a hint of the next move once the game can work one out; until
// then it does nothing.
#include "app/Game.h"

void Game::Hint() {}
