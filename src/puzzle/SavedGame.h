// A game in progress as it is kept between runs, in SavedGame.txt in the
// player folder: a short text file of one "key value" line each.
//
//   Vesk saved game 1
//   picture Tiger                 (Tiger, Bird, Flower, or "file <name>" for
//                                  a picture of the Pictures folder)
//   size 4
//   elapsed-ms 83021              (the clock when the game was left)
//   moves 57
//   board 5 1 2 3 ... 0           (home indices, row by row)
//   undo 3 3 2 3 ...              (row, column of each move's way back, oldest first)
//
// Lines with other keys are passed over, so that a later game can add its own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "puzzle/MoveHistory.h"

// The picture of a kept game: one of the game's own three by name, or a file
// of the player's Pictures folder.
struct KeptPicture {
    bool own = false;
    std::string name;  // "Tiger", "Bird", "Flower", or the file's name
    bool operator==(const KeptPicture&) const = default;
};

struct SavedGame {
    KeptPicture picture;
    int32_t size = 0;
    uint32_t elapsedMs = 0;
    int32_t moves = 0;
    std::vector<int32_t> board;  // size * size home indices
    std::vector<Cell> undo;      // oldest first
    bool operator==(const SavedGame&) const = default;
};

// The file's name in the player folder.
inline constexpr const char* kSavedGameFile = "SavedGame.txt";
// A file larger than this is no saved game of ours.
constexpr std::size_t kMostSavedGameBytes = 8u << 20;

std::string SavedGameText(const SavedGame& game);

// Reads and checks a saved game: a whole record of a board that can still
// be played (every tile once, not solved, solvable) and an undo history that
// leads back from it move by move. False, with `why` saying what is wrong,
// for anything else.
bool ReadSavedGame(std::string_view text, SavedGame& game, std::string& why);

// The same checks on a record about to be written.
bool PlayableSavedGame(const SavedGame& game, std::string& why);
