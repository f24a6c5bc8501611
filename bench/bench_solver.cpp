// Figures, not pass or fail: the solver. The 4x4 tables' size and the time
// to make and to read them; the time of a shortest solution over 100 4x4
// deals from the game's own dealer, and of a best-known one over 100 5x5 and
// 100 6x6 deals, with its length; the most memory the process took.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fakes/DealtBoards.h"
#include "puzzle/PatternDatabase.h"
#include "puzzle/ShortestFour.h"
#include "puzzle/SmallBoards.h"
#include "puzzle/Solver.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point begin) { return std::chrono::duration<double, std::milli>(Clock::now() - begin).count(); }

long PeakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

template <typename T>
T Median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

template <typename T>
T Worst(const std::vector<T>& v) {
    return *std::max_element(v.begin(), v.end());
}

// Deals as the game seeds them, from the clock's milliseconds.
uint32_t Seed(int i) { return 1000u + 7919u * static_cast<uint32_t>(i); }

constexpr int kDeals = 100;

void BigBoards(int n, const PatternDatabase& tables) {
    std::vector<double> ms;
    std::vector<size_t> length;
    for (int i = 0; i < kDeals; ++i) {
        const SlideBoard board = DealtBoard(n, Seed(i));
        const auto begin = Clock::now();
        const auto solution = Solve(board, &tables);
        ms.push_back(MsSince(begin));
        length.push_back(solution ? solution->moves.size() : 0);
    }
    std::printf("%dx%d, %d deals, best known: time median %.1f ms, worst %.1f ms; length median %zu, worst %zu moves\n", n,
                n, kDeals, Median(ms), Worst(ms), Median(length), Worst(length));
}

}  // namespace

int main() {
    if (std::FILE* load = std::fopen("/proc/loadavg", "r")) {
        char text[64] = {};
        if (std::fgets(text, sizeof text, load)) std::printf("load average (times are disturbed by it): %s", text);
        std::fclose(load);
    }
    const long startKb = PeakKb();

    // Made at its first use, by whichever board needs it first (a big board
    // whose 4x4 corner is slow to solve, too).
    auto begin = Clock::now();
    (void)ShortestLength(SlideBoard::Home(3));
    std::printf("3x3 table: made in %.0f ms\n", MsSince(begin));

    char pattern[] = "/tmp/vesk-bench-solver-XXXXXX";
    const char* folder = mkdtemp(pattern);
    if (!folder) return 1;
    begin = Clock::now();
    bool built = false;
    auto tables = PatternDatabase::Open(folder, {}, &built);
    const double buildMs = MsSince(begin);
    const auto fileBytes = std::filesystem::file_size(std::string(folder) + "/" + PatternDatabase::kFileName);
    const long madeKb = PeakKb();
    tables.reset();
    begin = Clock::now();
    tables = PatternDatabase::Open(folder, {}, &built);
    const double readMs = MsSince(begin);
    std::filesystem::remove_all(folder);
    std::printf("4x4 tables: %zu bytes in memory, %ju bytes on file; made and written in %.0f ms, read in %.1f ms\n",
                tables->Bytes(), static_cast<uintmax_t>(fileBytes), buildMs, readMs);

    std::vector<double> ms;
    std::vector<uint64_t> nodes;
    std::vector<size_t> length;
    for (int i = 0; i < kDeals; ++i) {
        const SlideBoard board = DealtBoard(4, Seed(i));
        begin = Clock::now();
        const FourSearch search = ShortestFour(board, *tables);
        ms.push_back(MsSince(begin));
        nodes.push_back(search.nodes);
        length.push_back(search.moves ? search.moves->size() : 0);
    }
    std::printf("4x4, %d deals, shortest: time median %.1f ms, worst %.1f ms; positions looked at median %ju, worst %ju;"
                " length median %zu, worst %zu moves\n",
                kDeals, Median(ms), Worst(ms), static_cast<uintmax_t>(Median(nodes)),
                static_cast<uintmax_t>(Worst(nodes)), Median(length), Worst(length));

    BigBoards(5, *tables);
    BigBoards(6, *tables);

    std::printf("memory: the solver's own at most %.1f MB (making and writing the tables), %.1f MB kept (the"
                " tables); the process's peak %.1f MB, %.1f MB before the solver\n",
                (madeKb - startKb) / 1024.0, tables->Bytes() / 1048576.0, PeakKb() / 1024.0, startKb / 1024.0);
    return 0;
}
