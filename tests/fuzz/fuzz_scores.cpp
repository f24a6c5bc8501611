// The best-times file, ScoreFile.txt, read and rewritten after a solve: a
// record that cannot be read (or holds a negative time) is no time yet, so a
// solve beats it, and a rewrite leaves five good records.
//
// Input: one byte for the grid size solved, four for the solve time, then the
// content of ScoreFile.txt.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/Game.h"
#include "fakes/FakeAudio.h"
#include "fakes/FakePlatform.h"
#include "fuzz/FuzzFolder.h"
#include "puzzle/ReadNumber.h"

namespace {

// What each record of the file holds for the game: records are read in
// order, size then seconds, until one cannot be; a negative time and every
// record not read are no time yet.
void Expected(const uint8_t* text, size_t size, int32_t (&best)[5]) {
    for (int32_t& time : best) time = kNoTimeYet;
    std::FILE* file = fmemopen(const_cast<uint8_t*>(text), size, "r");
    if (!file) return;
    for (int32_t& time : best) {
        int32_t gridSize = 0;
        int32_t seconds = 0;
        if (!ReadNumber(file, gridSize) || !ReadNumber(file, seconds)) break;
        if (seconds >= 0) time = seconds;
    }
    std::fclose(file);
}

// Five lines " <size>  <seconds> ", sizes 2 to 6 in order, no negative time.
bool FiveGoodRecords(const std::string& text, int32_t (&times)[5]) {
    size_t at = 0;
    for (int k = 0; k < 5; ++k) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos) return false;
        const std::string line = text.substr(at, end - at);
        int size = 0;
        long seconds = 0;
        int used = 0;
        if (std::sscanf(line.c_str(), " %d %ld %n", &size, &seconds, &used) != 2 ||
            static_cast<size_t>(used) != line.size() || size != 2 + k || seconds < 0 || seconds > INT32_MAX) {
            return false;
        }
        times[k] = static_cast<int32_t>(seconds);
        at = end + 1;
    }
    return at == text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    FuzzFolder& folder = FuzzFolder::Instance();
    const int grid = 2 + data[0] % 5;
    const int32_t time = static_cast<int32_t>(FuzzLe32(data + 1) % (kNoTimeYet + 1));
    const uint8_t* text = data + 5;
    const size_t textSize = size - 5;
    folder.Write("ScoreFile.txt", text, textSize);

    FakePlatform platform;
    platform.keepFrames = false;
    FakeAudio audio;
    Game game(platform, audio);
    game.gridSize = grid;
    game.currentTime = time;
    game.RecordBestTime();

    int32_t expected[5];
    Expected(text, textSize, expected);
    const std::string after = folder.Read("ScoreFile.txt");
    const bool unchanged = after.size() == textSize && std::memcmp(after.data(), text, textSize) == 0;
    int32_t written[5] = {};
    const bool good = FiveGoodRecords(after, written);

    FUZZ_RULE(game.bestTime[grid - 2] <= time, "a %d s solve at %dx%d left the best at %d", time, grid, grid,
              game.bestTime[grid - 2]);
    FUZZ_RULE(unchanged || good, "the file was rewritten, but not as five good records");
    if (time < expected[grid - 2]) {
        FUZZ_RULE(good && written[grid - 2] == time, "a %d s solve at %dx%d beat %d but the file does not hold it",
                  time, grid, grid, expected[grid - 2]);
    }
    if (good && !unchanged) {
        for (int k = 0; k < 5; ++k) {
            if (k == grid - 2) continue;
            FUZZ_RULE(written[k] == expected[k] || written[k] == kNoTimeYet, "the rewrite changed size %d: %d to %d",
                      k + 2, expected[k], written[k]);
        }
    }
    return 0;
}
