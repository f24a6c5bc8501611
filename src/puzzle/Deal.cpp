// Choosing a picture, cutting it into tiles, and dealing the board.
#include <cstdio>
#include <string>

#include "app/Game.h"
#include "pictures/OwnPictures.h"
#include "platform/Paths.h"
#include "puzzle/ReadNumber.h"
#include "puzzle/Solvable.h"

namespace {

const char* const kHollowFiles[3] = {"Tex\\TigerHollow.Tex", "Tex\\BirdHollow.Tex", "Tex\\FlowerHollow.Tex"};
const char* const kPictureFiles[3] = {"Tex\\Tiger.Tex", "Tex\\Bird.Tex", "Tex\\Flower.Tex"};

// One canned deal: four (home row, home col) pairs for the cells (0,0),
// (0,1), (1,0), (1,1).
struct ShuffleRecord {
    int32_t value[8] = {};
};

bool ReadShuffleRecord(std::FILE* file, ShuffleRecord& record) {
    ShuffleRecord next;
    for (int32_t& v : next.value) {
        if (!ReadNumber(file, v)) return false;
    }
    record = next;
    return true;
}

// A usable record names each of the four home cells exactly once.
bool IsValidRecord(const ShuffleRecord& record) {
    bool seen[4] = {};
    for (int k = 0; k < 4; ++k) {
        const int32_t hr = record.value[2 * k];
        const int32_t hc = record.value[2 * k + 1];
        if (hr < 0 || hr > 1 || hc < 0 || hc > 1) return false;
        if (seen[hr * 2 + hc]) return false;
        seen[hr * 2 + hc] = true;
    }
    return true;
}

}  // namespace

void Game::ChoosePicture(int32_t index) {
    if (index < 0 || index >= PictureCount()) return;
    // A photo not prepared yet is waited for, the frames going on.
    if (!OwnPictureReady(index, photoWaitMs)) {
        WaitForOwnPicture(index);
        return;
    }
    pictureIndex = index;
    tileSize = 500 / gridSize;
    blankTile.reset();
    KeepChosenPictureInRow();
    if (index >= kGamePictures) {
        CutOwnPicture(index);
        return;
    }
    blankTile = LoadTexTile(kHollowFiles[index], 0, 0);
    currentPicture = pictureFull[index];
    CutTiles(kPictureFiles[index]);
}

void Game::CheckPictureFiles() {
    constexpr int32_t kPictureSide = 500;
    constexpr int32_t kLargestCut = kPictureSide / 2 - 2;  // the blank tile at 2x2
    for (int32_t p = 0; p < kGamePictures; ++p) {
        RequireTexSize(kPictureFiles[p], kPictureSide);
        RequireTexSize(kHollowFiles[p], kLargestCut);
    }
}

void Game::CutTiles(const std::string& pictureFile) {
    // The tiles of the previous cut live on as long as a board shows them.
    for (int32_t row = 0; row < gridSize; ++row) {
        for (int32_t col = 0; col < gridSize; ++col) {
            tileImage[row][col] = LoadTexTile(pictureFile, row, col);
        }
    }
}

void Game::PlaceTile(int32_t row, int32_t col, int32_t homeRow, int32_t homeCol) {
    const int32_t home = homeRow * gridSize + homeCol;
    boardTile[row][col] = home;
    if (home == 0) {
        boardImage[row][col] = blankTile;
        blankRow = row;
        blankCol = col;
    } else {
        boardImage[row][col] = tileImage[homeRow][homeCol];
    }
    DrawImage(52 + col * tileSize, 52 + row * tileSize, boardImage[row][col], nullptr, BlitMode::Opaque);
}

void Game::CannedDeal(DealRandom& random) {
    ShuffleRecord record;
    bool haveRecord = false;
    if (std::FILE* file = std::fopen(HostPath("Shuffle.txt").c_str(), "r")) {
        int32_t i = 0;
        while (random.Next() % 10 >= i) {
            if (ReadShuffleRecord(file, record)) haveRecord = true;
            ++i;
        }
        std::fclose(file);
    }
    if (!haveRecord || !IsValidRecord(record)) {
        // No usable canned deal: deal this 2x2 board at random instead.
        RandomDeal(random);
        return;
    }
    for (int k = 0; k < 4; ++k) {
        PlaceTile(k / 2, k % 2, record.value[2 * k], record.value[2 * k + 1]);
    }
}

void Game::RandomDeal(DealRandom& random) {
    const int32_t n = gridSize;
    for (int32_t hr = 0; hr < n; ++hr) {
        for (int32_t hc = 0; hc < n; ++hc) {
            int32_t row = random.Next() % n;
            int32_t col = random.Next() % n;
            for (int32_t probe = 0; probe < n * n; ++probe) {
                if (!cellTaken[row][col]) {
                    PlaceTile(row, col, hr, hc);
                    cellTaken[row][col] = true;
                    break;
                }
                if (++col == n) {
                    col = 0;
                    row = (row + 1) % n;
                }
            }
        }
    }
}

void Game::MakeSolvable() {
    if (IsSolvable(boardTile, gridSize)) return;
    // Swapping two tiles other than the blank flips the board's parity: take
    // the first two such cells in reading order.
    int32_t found = 0;
    int32_t cell[2][2] = {};
    for (int32_t row = 0; row < gridSize && found < 2; ++row) {
        for (int32_t col = 0; col < gridSize && found < 2; ++col) {
            if (boardTile[row][col] > 0) {
                cell[found][0] = row;
                cell[found][1] = col;
                ++found;
            }
        }
    }
    if (found < 2) return;
    const int32_t r0 = cell[0][0], c0 = cell[0][1], r1 = cell[1][0], c1 = cell[1][1];
    std::swap(boardTile[r0][c0], boardTile[r1][c1]);
    std::swap(boardImage[r0][c0], boardImage[r1][c1]);
    DrawImage(52 + c0 * tileSize, 52 + r0 * tileSize, boardImage[r0][c0], nullptr, BlitMode::Opaque);
    DrawImage(52 + c1 * tileSize, 52 + r1 * tileSize, boardImage[r1][c1], nullptr, BlitMode::Opaque);
}

void Game::DealBoard() {
    DropSavedGame();
    moveHistory.Forget();
    moveCount = 0;
    slide.Stop();
    startTick = platform.Ticks();
    DealRandom random(platform.Ticks());
    DealUnsolved(random);
    StartPar(BoardNow());
    DrawTileNumbers();
    boardDealt = true;

    ReadCursor();
    DrawPointer(pointerSprite, cursor.x, cursor.y);
    Flip();

    for (int32_t row = 0; row < gridSize; ++row) {
        for (int32_t col = 0; col < gridSize; ++col) cellTaken[row][col] = false;
    }
    clicked = false;
}
