// Shuffle.txt (the canned 2x2 deals) and ScoreFile.txt (the starting best times).
#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <queue>
#include <vector>

#include "assets.h"

namespace assetgen {

namespace {

// A 2x2 board: the home index of the tile in cells (0,0), (0,1), (1,0), (1,1);
// home index 0 is the blank.
using Board = std::array<int, 4>;

// Every board that sliding reaches from the solved one, with its distance.
std::map<Board, int> reachable() {
    const Board solved{0, 1, 2, 3};
    std::map<Board, int> dist{{solved, 0}};
    std::queue<Board> todo;
    todo.push(solved);
    while (!todo.empty()) {
        Board b = todo.front();
        todo.pop();
        int blank = int(std::find(b.begin(), b.end(), 0) - b.begin());
        // Neighbours in a 2x2 grid: flip the column bit or the row bit.
        for (int other : {blank ^ 1, blank ^ 2}) {
            Board n = b;
            std::swap(n[size_t(blank)], n[size_t(other)]);
            if (dist.emplace(n, dist[b] + 1).second) todo.push(n);
        }
    }
    return dist;
}

}  // namespace

bool writeData(const std::string& out) {
    bool ok = true;
    // Ten of the eleven unsolved boards that can be brought home, the one
    // closest to solved left out, in a fixed mixed order.
    std::vector<std::pair<int, Board>> boards;
    for (const auto& [b, d] : reachable())
        if (d > 0) boards.push_back({d, b});
    std::sort(boards.begin(), boards.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    boards.resize(10);
    const int order[10] = {3, 8, 0, 5, 9, 2, 6, 1, 7, 4};
    if (FILE* f = std::fopen((out + "/Shuffle.txt").c_str(), "w")) {
        for (int i : order) {
            const Board& b = boards[size_t(i)].second;
            int v[8];
            for (int c = 0; c < 4; ++c) {
                v[2 * c] = b[size_t(c)] / 2;
                v[2 * c + 1] = b[size_t(c)] % 2;
            }
            std::fprintf(f, " %d %d %d %d %d %d %d %d \n", v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
        }
        ok &= std::fclose(f) == 0;
    } else {
        ok = false;
    }
    // The best times belong to the player: a rebuild never writes over them.
    const std::string scores = out + "/ScoreFile.txt";
    if (FILE* existing = std::fopen(scores.c_str(), "r")) {
        std::fclose(existing);
    } else if (FILE* f = std::fopen(scores.c_str(), "w")) {
        for (int n = 2; n <= 6; ++n) std::fprintf(f, " %d  %ld \n", n, 359999L);
        ok &= std::fclose(f) == 0;
    } else {
        ok = false;
    }
    return ok;
}

}  // namespace assetgen
