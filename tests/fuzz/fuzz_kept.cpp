// The saved game, SavedGame.txt, as the next run reads it: whatever the file
// holds, reading it never fails badly, and a game it takes is one that can
// be played on and is written back as it was read.
//
// Input: the content of SavedGame.txt.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzFolder.h"
#include "puzzle/SavedGame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    SavedGame game;
    std::string why;
    if (!ReadSavedGame(text, game, why)) {
        FUZZ_RULE(!why.empty(), "a saved game left aside without a reason");
        return 0;
    }
    const int n = game.size;
    FUZZ_RULE(n >= 2 && n <= 6 && game.board.size() == static_cast<size_t>(n * n), "a %d x %d board of %zu cells",
              n, n, game.board.size());
    bool seen[36] = {};
    bool solved = true;
    for (int q = 0; q < n * n; ++q) {
        const int32_t home = game.board[static_cast<size_t>(q)];
        FUZZ_RULE(home >= 0 && home < n * n && !seen[home], "tile %d on the board twice or out of range", home);
        seen[home] = true;
        solved = solved && home == q;
    }
    FUZZ_RULE(!solved, "a solved board taken as a game in progress");
    SavedGame again;
    FUZZ_RULE(ReadSavedGame(SavedGameText(game), again, why) && again == game, "written and read back it differs (%s)",
              why.c_str());
    return 0;
}
