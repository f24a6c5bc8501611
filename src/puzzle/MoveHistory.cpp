#include "puzzle/MoveHistory.h"

void MoveHistory::Record(Cell blank) { moves_.push_back(blank); }

bool MoveHistory::TakeLast(Cell& blank) {
    if (moves_.empty()) return false;
    blank = moves_.back();
    moves_.pop_back();
    return true;
}

void MoveHistory::Forget() { moves_.clear(); }
