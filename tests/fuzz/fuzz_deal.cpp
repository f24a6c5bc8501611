// The deal, from Shuffle.txt at 2x2 and from the draws at every size: the
// board dealt is a permutation of the tiles that can be brought home and is
// not already home.
//
// Input: one byte for the grid size (2 for values below 128), four bytes of
// the clock that seeds the draws, then the content of Shuffle.txt.
#include <cstdint>
#include <cstring>

#include "app/Game.h"
#include "fakes/FakeAudio.h"
#include "fakes/FakePlatform.h"
#include "fuzz/FuzzFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    FuzzFolder& folder = FuzzFolder::Instance();
    const int n = data[0] < 128 ? 2 : 3 + data[0] % 4;
    folder.Write("Shuffle.txt", data + 5, size - 5);

    FakePlatform platform;
    platform.keepFrames = false;
    platform.now = FuzzLe32(data + 1);
    FakeAudio audio;
    Game game(platform, audio);
    game.gridSize = n;
    game.tileSize = 500 / n;
    game.DealBoard();

    // Each tile exactly once, the blank where the game says it is.
    bool seen[kMaxGrid * kMaxGrid] = {};
    int cells[kMaxGrid * kMaxGrid] = {};
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const int32_t home = game.boardTile[row][col];
            FUZZ_RULE(home >= 0 && home < n * n && !seen[home], "cell (%d, %d) holds %d", row, col, home);
            seen[home] = true;
            cells[row * n + col] = home;
        }
    }
    FUZZ_RULE(game.boardTile[game.blankRow][game.blankCol] == 0, "the blank is not at (%d, %d)", game.blankRow,
              game.blankCol);

    // Not home already: a board nobody has to solve gives a time of 0.
    bool home = true;
    for (int i = 0; i < n * n; ++i) home = home && cells[i] == i;
    FUZZ_RULE(!home, "a %dx%d deal came out solved", n, n);

    // Solvable: every slide of the blank is one swap, so the board's parity
    // as a permutation equals that of the blank's distance from its home.
    int swaps = 0;
    int order[kMaxGrid * kMaxGrid];
    std::memcpy(order, cells, sizeof order);
    for (int i = 0; i < n * n; ++i) {
        while (order[i] != i) {
            std::swap(order[i], order[order[i]]);
            ++swaps;
        }
    }
    FUZZ_RULE(swaps % 2 == (game.blankRow + game.blankCol) % 2, "a %dx%d deal cannot be brought home", n, n);
    return 0;
}
