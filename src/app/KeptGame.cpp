// A game in progress outlives the program: whatever ends the run (Escape,
// Exit, the window closed, the focus lost, a signal, the session ending),
// the board, its picture, size, clock, moves and undo history are written
// to SavedGame.txt in the player folder, and the next run opens on that
// game's tile view with Resume. The clock stands still until Resume: time
// away does not count. A new deal or a solve ends the kept game.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "app/Game.h"
#include "pictures/OwnPictures.h"
#include "platform/Paths.h"
#include "platform/ReplaceFile.h"
#include "puzzle/SavedGame.h"

namespace {

const char* const kPictureNames[kGamePictures] = {"Tiger", "Bird", "Flower"};

std::string SavedGamePath() { return PlayerPath(kSavedGameFile); }

// The game as it would be written; false when its picture has no name to
// be found by (a picture index out of range).
bool RecordOf(const Game& game, uint32_t now, SavedGame& record) {
    const int32_t index = game.pictureIndex;
    if (index >= 0 && index < kGamePictures) {
        record.picture = {false, kPictureNames[index]};
    } else if (index >= kGamePictures && static_cast<size_t>(index - kGamePictures) < game.ownPictureFiles.size()) {
        record.picture = {true, game.ownPictureFiles[static_cast<size_t>(index - kGamePictures)]};
    } else {
        return false;
    }
    const int32_t n = game.gridSize;
    record.size = n;
    record.elapsedMs = game.GameElapsedMs(now);
    record.moves = game.moveCount;
    record.board.clear();
    for (int32_t row = 0; row < n && n <= kMaxGrid; ++row) {
        for (int32_t col = 0; col < n; ++col) record.board.push_back(game.boardTile[row][col]);
    }
    record.undo = game.moveHistory.Moves();
    return true;
}

// The board shows the tiles of the picture chosen now: a picture changed
// on the options page leaves the old tiles on a board nothing returns to.
bool ShowsItsPicture(const Game& game) {
    const int32_t n = game.gridSize;
    for (int32_t row = 0; row < n; ++row) {
        for (int32_t col = 0; col < n; ++col) {
            const int32_t home = game.boardTile[row][col];
            if (home < 0 || home >= n * n) return false;
            const SurfacePtr& tile = home == 0 ? game.blankTile : game.tileImage[home / n][home % n];
            if (game.boardImage[row][col] != tile) return false;
        }
    }
    return true;
}

// The deal a kept game began from: its board with every move of its undo
// history taken back, newest first. That is the deal exactly when the
// history goes back to it, as it does unless it was forgotten on the way
// (a history found not to be the board's), which the file does not tell:
// the par is then that of a later board. Nothing (no par) when a move cannot
// be taken back.
std::optional<SlideBoard> DealOf(const SavedGame& record) {
    int32_t board[kMaxGrid][kMaxGrid] = {};
    const int32_t n = record.size;
    if (n < 2 || n > kMaxGrid || record.board.size() != static_cast<size_t>(n * n)) return std::nullopt;
    for (int32_t q = 0; q < n * n; ++q) board[q / n][q % n] = record.board[static_cast<size_t>(q)];
    std::optional<SlideBoard> deal = SlideBoard::FromBoard(board, n);
    for (auto back = record.undo.rbegin(); deal && back != record.undo.rend(); ++back) {
        if (!deal->Slide(*back)) deal.reset();
    }
    return deal;
}

// Reads the whole file; false without a line when there is none.
bool ReadSavedFile(const std::string& path, std::string& text) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        if (errno != ENOENT) {
            std::cerr << "Vesk: the saved game " << path << " cannot be read (" << std::strerror(errno) << ")\n";
        }
        return false;
    }
    char chunk[65536];
    size_t got;
    while (text.size() <= kMostSavedGameBytes && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        text.append(chunk, got);
    }
    std::fclose(file);
    return true;
}

}  // namespace

uint32_t Game::GameElapsedMs(uint32_t now) const {
    if (clockHeld) return heldMs;
    return boardDealt ? now - startTick : 0;
}

bool Game::HasGameToKeep() const {
    if (!boardDealt) return false;
    const bool page = screen == ScreenOptions || screen == ScreenHighScores || screen == ScreenHelp;
    const Screen back = page ? returnScreen : screen;
    if (back != ScreenPlaying && !(back == ScreenTileView && gameInProgress)) return false;
    if (gridSize < 2 || gridSize > kMaxGrid || !ShowsItsPicture(*this)) return false;
    SavedGame record;
    std::string why;
    return RecordOf(*this, 0, record) && PlayableSavedGame(record, why);
}

void Game::SaveGameAtEnd() {
    if (savedAtEnd) return;
    savedAtEnd = true;
    EndSolving();
    SavedGame record;
    if (!HasGameToKeep() || !RecordOf(*this, platform.Ticks(), record)) {
        // A game of this run ended without being finished or dealt anew
        // (its picture changed): the one kept before is over too.
        if (boardDealt) DropSavedGame();
        return;
    }
    const std::string path = SavedGamePath();
    if (!ReplaceFileContents(path, SavedGameText(record))) {
        std::cerr << "Vesk: the game in progress could not be saved in " << path << "\n";
    }
}

void Game::DropSavedGame() {
    clockHeld = false;
    std::error_code error;
    const std::string path = SavedGamePath();
    if (!std::filesystem::remove(path, error) && error) {
        std::cerr << "Vesk: the ended game's " << path << " cannot be removed (" << error.message() << ")\n";
    }
}

void Game::ResumeSavedGame() {
    const std::string path = SavedGamePath();
    std::string text;
    if (!ReadSavedFile(path, text)) return;
    SavedGame record;
    std::string why;
    if (!ReadSavedGame(text, record, why)) {
        std::cerr << "Vesk: the saved game " << path << " is left aside: " << why << "\n";
        return;
    }
    int32_t index = -1;
    for (int32_t p = 0; p < kGamePictures && !record.picture.own; ++p) {
        if (record.picture.name == kPictureNames[p]) index = p;
    }
    for (size_t k = 0; k < ownPictureFiles.size() && record.picture.own; ++k) {
        if (ownPictureFiles[k] == record.picture.name) index = kGamePictures + static_cast<int32_t>(k);
    }
    if (index < 0 || index >= PictureCount()) {
        std::cerr << "Vesk: the saved game " << path << " is left aside: its picture " << record.picture.name
                  << " is not in " << PlayerPath(kPicturesFolder) << "\n";
        return;
    }

    // The saved game's photo is prepared now (from the cache, as a rule): its
    // board is laid out of it at once.
    constexpr int kPhotoWaitMs = 5000;
    if (index >= kGamePictures &&
        !photoShelf.WaitFull(ownPictureShelf[static_cast<size_t>(index - kGamePictures)], kPhotoWaitMs)) {
        std::cerr << "Vesk: the saved game " << path << " is left aside: its picture " << record.picture.name
                  << " cannot be prepared\n";
        return;
    }
    gridSize = record.size;
    ChoosePicture(index);
    EndBoard();
    const int32_t n = gridSize;
    for (int32_t q = 0; q < n * n; ++q) {
        const int32_t row = q / n, col = q % n, home = record.board[static_cast<size_t>(q)];
        boardTile[row][col] = home;
        boardImage[row][col] = home == 0 ? blankTile : tileImage[home / n][home % n];
        if (home == 0) {
            blankRow = row;
            blankCol = col;
        }
    }
    moveHistory.Forget();
    for (const Cell& back : record.undo) moveHistory.Record(back);
    StartPar(DealOf(record));
    moveCount = record.moves;
    boardDealt = true;
    clockHeld = true;
    heldMs = record.elapsedMs;
    startTick = platform.Ticks() - heldMs;
    gameInProgress = true;
    screen = ScreenTileView;
}

void Game::HoldClockForResume() {
    if (!clockHeld) return;
    startTick = nowTick - heldMs;
    // The board is back: from here the clock runs on.
    if (screen == ScreenPlaying) clockHeld = false;
}
