// The fewest-moves file, FewestMoves.txt in the player folder: a line
// " <grid size>  <moves> " for each grid size solved so far, in the manner
// of the best-times file, which keeps its own format untouched.
#include <charconv>
#include <string>
#include <string_view>

#include "app/Game.h"
#include "platform/Paths.h"
#include "platform/ReplaceFile.h"
#include "platform/SmallFile.h"

namespace {

constexpr std::size_t kMostBytes = 4096;

std::string FewestMovesPath() { return PlayerPath("FewestMoves.txt"); }

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// One record: two whole numbers and blanks around them, nothing else.
bool ParseRecord(std::string_view line, int32_t& size, int32_t& moves) {
    const char* at = line.data();
    const char* const end = line.data() + line.size();
    for (int32_t* value : {&size, &moves}) {
        while (at < end && Blank(*at)) ++at;
        const auto [next, error] = std::from_chars(at, end, *value);
        if (error != std::errc() || next == at) return false;
        at = next;
    }
    while (at < end && Blank(*at)) ++at;
    return at == end;
}

// A line that is no record, a size outside 2..6 or a count below one leaves
// that size with none yet; of two records for one size the fewer counts.
void ReadRecords(int32_t (&fewest)[5]) {
    for (int32_t& moves : fewest) moves = kNoMovesYet;
    std::string text;
    if (ReadSmallFile(FewestMovesPath(), kMostBytes, text) != SmallFile::Read) return;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t newline = rest.find('\n');
        const std::string_view line = rest.substr(0, newline);
        rest = newline == std::string_view::npos ? std::string_view() : rest.substr(newline + 1);
        int32_t size = 0;
        int32_t moves = 0;
        if (!ParseRecord(line, size, moves) || size < 2 || size > 6 || moves < 1) continue;
        int32_t& kept = fewest[size - 2];
        if (kept == kNoMovesYet || moves < kept) kept = moves;
    }
}

}  // namespace

void Game::ReadFewestMoves() {
    int32_t fromFile[5];
    ReadRecords(fromFile);
    // A count the file could not take lasts for the run.
    for (int k = 0; k < 5; ++k) {
        if (fewestMoves[k] == kNoMovesYet || (fromFile[k] != kNoMovesYet && fromFile[k] < fewestMoves[k])) {
            fewestMoves[k] = fromFile[k];
        }
    }
}

void Game::RecordFewestMoves() {
    if (gridSize < 2 || gridSize > 6 || moveCount < 1) return;
    ReadFewestMoves();
    int32_t& fewest = fewestMoves[gridSize - 2];
    if (fewest != kNoMovesYet && moveCount >= fewest) return;
    fewest = moveCount;
    std::string text;
    for (int k = 0; k < 5; ++k) {
        if (fewestMoves[k] == kNoMovesYet) continue;
        text += " " + std::to_string(2 + k) + "  " + std::to_string(fewestMoves[k]) + " \n";
    }
    ReplaceFileContents(FewestMovesPath(), text);
}
