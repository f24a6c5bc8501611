// The best-times file, ScoreFile.txt: five records "grid size, seconds" for
// the grid sizes 2 to 6, read by position.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

#include "app/Game.h"
#include "platform/Paths.h"
#include "platform/ReplaceFile.h"
#include "puzzle/ReadNumber.h"

namespace {

std::string ScoreFilePath() { return PlayerPath("ScoreFile.txt"); }

// Reads up to five records; a record that does not parse ends the reading.
// A time not read, or a negative one, is no time yet, as in a missing file:
// anything else would be a best that nothing beats and the file would never
// be repaired.
void ReadRecords(std::FILE* file, int32_t (&times)[5]) {
    for (int32_t& time : times) time = kNoTimeYet;
    if (!file) return;
    for (int32_t& time : times) {
        int32_t size;
        int32_t seconds;
        if (!ReadNumber(file, size) || !ReadNumber(file, seconds)) return;
        time = seconds < 0 ? kNoTimeYet : seconds;
    }
}

std::string Records(const int32_t (&best)[5]) {
    std::string text;
    char line[64];
    for (int k = 0; k < 5; ++k) {
        std::snprintf(line, sizeof line, " %d  %ld \n", 2 + k, static_cast<long>(best[k]));
        text += line;
    }
    return text;
}

}  // namespace

// For each grid size the lower of the file's time and this run's best: a
// best the file could not take lasts for the run.
void Game::ReadBestTimes() {
    const std::string path = ScoreFilePath();
    int32_t fileTime[5];
    std::FILE* file = std::fopen(path.c_str(), "rb");
    const bool missing = !file && errno == ENOENT;
    ReadRecords(file, fileTime);
    if (file) std::fclose(file);
    for (int k = 0; k < 5; ++k) bestTime[k] = std::min(fileTime[k], runBestTime[k]);
    // A missing file is made anew.
    if (missing) ReplaceFileContents(path, Records(bestTime));
}

void Game::RecordBestTime() {
    ReadBestTimes();
    if (gridSize < 2 || gridSize > 6) return;
    const int k = gridSize - 2;
    if (currentTime < bestTime[k]) {
        bestTime[k] = currentTime;
        runBestTime[k] = currentTime;
        // A file that cannot be written leaves the new best in memory.
        ReplaceFileContents(ScoreFilePath(), Records(bestTime));
    }
}
