#include "puzzle/Solver.h"

#include "puzzle/Reduction.h"
#include "puzzle/ShortestFour.h"
#include "puzzle/SmallBoards.h"

std::optional<Solution> Solve(const SlideBoard& board, const PatternDatabase* tables, std::stop_token stop) {
    if (!board.CanBeSolved()) return std::nullopt;
    if (board.n <= 3) return Solution{ShortestSmall(board), true};
    if (!tables) return std::nullopt;
    if (board.n == 4) {
        FourSearch search = ShortestFour(board, *tables, stop);
        if (!search.moves) return std::nullopt;
        return Solution{std::move(*search.moves), true};
    }
    Solution solution;
    SlideBoard rest = board;
    if (!ReduceToCorner(rest, 4, solution.moves, stop)) return std::nullopt;
    for (const int32_t haste : {0, kCornerHaste}) {
        FourSearch corner = ShortestFour(Corner(rest, 4), *tables, stop, {.nodes = kCornerSearchNodes, .haste = haste});
        if (stop.stop_requested()) return std::nullopt;
        if (corner.moves) {
            solution.moves.insert(solution.moves.end(), corner.moves->begin(), corner.moves->end());
            return solution;
        }
    }
    if (!ReduceToCorner(rest, 3, solution.moves, stop)) return std::nullopt;
    const std::vector<Cell> last = ShortestSmall(Corner(rest, 3));
    solution.moves.insert(solution.moves.end(), last.begin(), last.end());
    return solution;
}
