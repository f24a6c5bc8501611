#include "puzzle/MoveHistory.h"

void MoveHistory::Record(Cell blank) {
    moves_.push_back(blank);
    undone_.clear();
}

bool MoveHistory::TakeLast(Cell& blank) {
    if (moves_.empty()) return false;
    blank = moves_.back();
    moves_.pop_back();
    return true;
}

void MoveHistory::Undone(Cell tile) { undone_.push_back(tile); }

bool MoveHistory::TakeUndone(Cell& tile) {
    if (undone_.empty()) return false;
    tile = undone_.back();
    undone_.pop_back();
    return true;
}

void MoveHistory::Redone(Cell blank) { moves_.push_back(blank); }

void MoveHistory::Forget() {
    moves_.clear();
    undone_.clear();
}
