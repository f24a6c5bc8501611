#pragma once

#include <cstdint>

// What the player sees; one value at a time, in Game::screen.
enum Screen : int32_t {
    ScreenPreview = 0,     // the whole picture (start, and after a level step)
    ScreenTileView = 1,    // every tile in its home cell: the solution
    ScreenOptions = 2,     // music, sound, picture
    ScreenHighScores = 3,  // best times
    ScreenHelp = 4,        // how to play
    ScreenShuffle = 5,     // one frame: a new board is dealt
    ScreenPlaying = 6,     // the board in play
    ScreenSolved = 7,      // the picture, the won banner, the time, the level choice
    ScreenPreparing = 8,   // a photo chosen is being prepared: a caption says so
};
