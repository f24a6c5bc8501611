// The best-times file, ScoreFile.txt: five records "grid size, seconds" for
// the grid sizes 2 to 6, read by position.
#include <cerrno>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "app/Game.h"
#include "platform/Paths.h"
#include "puzzle/ReadNumber.h"

namespace {

const char* const kScoreFile = "ScoreFile.txt";

// Reads up to five records; a record that does not parse ends the reading,
// and the times not reached keep their values.
void ReadRecords(std::FILE* file, int32_t (&best)[5]) {
    for (int32_t& time : best) {
        int32_t size;
        int32_t seconds;
        if (!ReadNumber(file, size) || !ReadNumber(file, seconds)) return;
        time = seconds;
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

// Replaces the file whole: a temporary file beside it, flushed to disk, then
// renamed over it, so a crash or a full disk never leaves half a file.
bool WriteRecords(const int32_t (&best)[5]) {
    const std::string path = PlayerPath(kScoreFile);
    const std::string temp = path + ".new";
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file) return false;
    const std::string text = Records(best);
    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fflush(file) == 0 && ok;
    ok = fsync(fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(temp.c_str());
    return ok;
}

// Opens the file for reading; a missing file is made anew with no times yet.
std::FILE* OpenScoreFile(int32_t (&best)[5]) {
    const std::string path = PlayerPath(kScoreFile);
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) return file;
    if (errno != ENOENT) return nullptr;
    for (int32_t& time : best) time = kNoTimeYet;
    WriteRecords(best);
    return std::fopen(path.c_str(), "rb");
}

}  // namespace

void Game::ReadBestTimes() {
    if (std::FILE* file = OpenScoreFile(bestTime)) {
        ReadRecords(file, bestTime);
        std::fclose(file);
    }
}

void Game::RecordBestTime() {
    ReadBestTimes();
    if (gridSize < 2 || gridSize > 6) return;
    int32_t& best = bestTime[gridSize - 2];
    if (currentTime < best) {
        best = currentTime;
        // A file that cannot be written leaves the new best in memory.
        WriteRecords(bestTime);
    }
}
