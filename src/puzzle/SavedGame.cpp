#include "puzzle/SavedGame.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <limits>

#include "puzzle/Solvable.h"

namespace {

constexpr std::string_view kHeader = "Vesk saved game 1";
constexpr const char* kGamePictureNames[] = {"Tiger", "Bird", "Flower"};

// A file name on one line: '%', control bytes and DEL as %XX.
std::string Escaped(const std::string& name) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F || c == '%') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool Unescaped(std::string_view text, std::string& name) {
    name.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            name += text[i];
            continue;
        }
        const int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (high < 0 || low < 0) return false;
        name += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

// Whole decimal numbers separated by blanks; false at anything else.
bool Numbers(std::string_view text, std::vector<int64_t>& values) {
    values.clear();
    const char* at = text.data();
    const char* end = at + text.size();
    while (true) {
        while (at < end && (*at == ' ' || *at == '\t')) ++at;
        if (at == end) return true;
        int64_t value = 0;
        const auto [next, error] = std::from_chars(at, end, value);
        if (error != std::errc() || (next < end && *next != ' ' && *next != '\t')) return false;
        values.push_back(value);
        at = next;
    }
}

bool OneNumber(std::string_view text, int64_t low, int64_t high, int64_t& value) {
    std::vector<int64_t> values;
    if (!Numbers(text, values) || values.size() != 1 || values[0] < low || values[0] > high) return false;
    value = values[0];
    return true;
}

bool ReadPicture(std::string_view text, KeptPicture& picture) {
    constexpr std::string_view kFile = "file ";
    if (text.substr(0, kFile.size()) == kFile) {
        picture.own = true;
        return Unescaped(text.substr(kFile.size()), picture.name);
    }
    picture.own = false;
    picture.name = std::string(text);
    return true;
}

}  // namespace

std::string SavedGameText(const SavedGame& game) {
    std::string text(kHeader);
    text += "\npicture ";
    text += game.picture.own ? "file " + Escaped(game.picture.name) : game.picture.name;
    text += "\nsize " + std::to_string(game.size);
    text += "\nelapsed-ms " + std::to_string(game.elapsedMs);
    text += "\nmoves " + std::to_string(game.moves);
    text += "\nboard";
    for (int32_t home : game.board) text += " " + std::to_string(home);
    text += "\nundo";
    text.reserve(text.size() + game.undo.size() * 4 + 2);
    for (const Cell& cell : game.undo) {
        text += ' ';
        text += std::to_string(cell.row);
        text += ' ';
        text += std::to_string(cell.col);
    }
    text += "\n";
    return text;
}

bool PlayableSavedGame(const SavedGame& game, std::string& why) {
    const KeptPicture& picture = game.picture;
    if (picture.own) {
        if (picture.name.empty() || picture.name == "." || picture.name == ".." ||
            picture.name.find('/') != std::string::npos || picture.name.find('\0') != std::string::npos) {
            why = "its picture is no file name";
            return false;
        }
    } else if (std::none_of(std::begin(kGamePictureNames), std::end(kGamePictureNames),
                            [&](const char* name) { return picture.name == name; })) {
        why = "its picture is none of Tiger, Bird and Flower";
        return false;
    }
    const int32_t n = game.size;
    if (n < 2 || n > 6) {
        why = "its grid size is not 2 to 6";
        return false;
    }
    if (game.moves < 0) {
        why = "its count of moves is below zero";
        return false;
    }
    if (game.board.size() != static_cast<size_t>(n * n)) {
        why = "its board does not have " + std::to_string(n * n) + " cells";
        return false;
    }
    int32_t board[6][6] = {};
    bool seen[36] = {};
    bool solved = true;
    Cell blank;
    for (int32_t q = 0; q < n * n; ++q) {
        const int32_t home = game.board[static_cast<size_t>(q)];
        if (home < 0 || home >= n * n || seen[home]) {
            why = "its board does not hold every tile once";
            return false;
        }
        seen[home] = true;
        board[q / n][q % n] = home;
        solved = solved && home == q;
        if (home == 0) blank = {q / n, q % n};
    }
    if (solved) {
        why = "its board is solved";
        return false;
    }
    if (!IsSolvable(board, n)) {
        why = "its board cannot be brought home";
        return false;
    }
    // Each move's way back leads from the blank of the move after it.
    for (auto it = game.undo.rbegin(); it != game.undo.rend(); ++it) {
        const Cell back = *it;
        const bool inside = back.row >= 0 && back.row < n && back.col >= 0 && back.col < n;
        if (!inside || std::abs(back.row - blank.row) + std::abs(back.col - blank.col) != 1) {
            why = "its moves to take back do not lead back from the board";
            return false;
        }
        blank = back;
    }
    return true;
}

bool ReadSavedGame(std::string_view text, SavedGame& game, std::string& why) {
    if (text.size() > kMostSavedGameBytes) {
        why = "it is too large";
        return false;
    }
    SavedGame read;
    enum Key { Picture, Size, Elapsed, Moves, Board, Undo, kKeys };
    constexpr std::string_view kNames[kKeys] = {"picture", "size", "elapsed-ms", "moves", "board", "undo"};
    bool have[kKeys] = {};
    bool header = false;
    std::vector<int64_t> values;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!header) {
            if (line != kHeader) {
                why = "it does not begin with \"" + std::string(kHeader) + "\"";
                return false;
            }
            header = true;
            continue;
        }
        if (line.empty()) continue;
        const size_t space = line.find(' ');
        const std::string_view name = line.substr(0, space);
        const std::string_view value = space == std::string_view::npos ? std::string_view() : line.substr(space + 1);
        const auto known = std::find(std::begin(kNames), std::end(kNames), name);
        if (known == std::end(kNames)) continue;
        const int key = static_cast<int>(known - std::begin(kNames));
        if (have[key]) {
            why = "it says " + std::string(name) + " twice";
            return false;
        }
        have[key] = true;
        int64_t number = 0;
        bool ok = true;
        switch (key) {
            case Picture:
                ok = ReadPicture(value, read.picture);
                break;
            case Size:
                ok = OneNumber(value, 2, 6, number);
                read.size = static_cast<int32_t>(number);
                break;
            case Elapsed:
                ok = OneNumber(value, 0, std::numeric_limits<uint32_t>::max(), number);
                read.elapsedMs = static_cast<uint32_t>(number);
                break;
            case Moves:
                ok = OneNumber(value, 0, std::numeric_limits<int32_t>::max(), number);
                read.moves = static_cast<int32_t>(number);
                break;
            case Board:
                ok = Numbers(value, values) && values.size() <= 36 &&
                     std::all_of(values.begin(), values.end(), [](int64_t v) { return v >= 0 && v < 36; });
                if (ok) read.board.assign(values.begin(), values.end());
                break;
            case Undo:
                ok = Numbers(value, values) && values.size() % 2 == 0 &&
                     std::all_of(values.begin(), values.end(), [](int64_t v) { return v >= 0 && v < 6; });
                for (size_t i = 0; ok && i < values.size(); i += 2) {
                    read.undo.push_back({static_cast<int32_t>(values[i]), static_cast<int32_t>(values[i + 1])});
                }
                break;
            default:
                break;
        }
        if (!ok) {
            why = "its " + std::string(name) + " line cannot be read";
            return false;
        }
    }
    if (!header) {
        why = "it is empty";
        return false;
    }
    for (int key = 0; key < kKeys; ++key) {
        if (!have[key]) {
            why = "it has no " + std::string(kNames[key]) + " line";
            return false;
        }
    }
    if (!PlayableSavedGame(read, why)) return false;
    game = std::move(read);
    return true;
}
