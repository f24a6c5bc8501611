// Boards as the game's own dealer deals them: a game on the fakes deals an
// n x n board from a seed (the clock's milliseconds, in the game).
#pragma once

#include <cstdint>

#include "app/Game.h"
#include "fakes/FakeAudio.h"
#include "fakes/FakePlatform.h"
#include "puzzle/SlideBoard.h"

inline SlideBoard DealtBoard(int32_t n, uint32_t seed) {
    FakePlatform platform;
    FakeAudio audio;
    Game game(platform, audio);
    game.gridSize = n;
    DealRandom random(seed);
    game.DealUnsolved(random);
    return SlideBoard::FromBoard(game.boardTile, n).value();
}
