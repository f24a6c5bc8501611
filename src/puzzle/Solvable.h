#pragma once

#include <cstdint>

// Whether an n x n board (home indices, 0 the blank, blank's home at the top
// left) can be brought home by sliding tiles. False for anything that is not
// a permutation of 0 .. n*n-1.
bool IsSolvable(const int32_t board[6][6], int n);
