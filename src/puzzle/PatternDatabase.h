// Lower bounds for the 4x4 board: for each of three groups of five tiles, the
// fewest moves of those tiles that bring them home from any cells they may lie
// in, the other tiles not counted. The moves of different groups are
// different moves, so the three bounds add up to one bound for the board.
//
// The tables are made once (about a second) and kept in the cache folder;
// a file that is damaged, short or of another make is made again.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stop_token>
#include <string>
#include <vector>

class PatternDatabase {
public:
    static constexpr int32_t kGroups = 3;
    static constexpr int32_t kGroupSize = 5;
    // An entry for every way of putting the group's five tiles on the 16
    // cells, the cell of the k-th tile in bits 4k..4k+3.
    static constexpr uint32_t kEntries = 1u << (4 * kGroupSize);
    // The blank's home is the top left: each group is a compact corner of
    // the board (the top row's right with the two below it, the left column
    // with the two beside it, the bottom right), so that the tiles that get in
    // each other's way are counted together.
    static constexpr std::array<std::array<int8_t, kGroupSize>, kGroups> kGroupTiles = {{
        {1, 2, 3, 6, 7},
        {4, 5, 8, 9, 12},
        {10, 11, 13, 14, 15},
    }};
    static constexpr const char* kFileName = "tiles-4x4.db";

    // Made anew; null when stopped on the way.
    static std::unique_ptr<PatternDatabase> Build(std::stop_token stop = {});
    // Read from the folder's file when it is whole, else made and written
    // there (the folder made, private, when missing; an empty folder keeps
    // nothing). `built` tells which. Null when stopped on the way.
    static std::unique_ptr<PatternDatabase> Open(const std::string& folder, std::stop_token stop = {},
                                                 bool* built = nullptr);

    uint8_t Moves(int32_t group, uint32_t index) const { return table_[static_cast<size_t>(group) * kEntries + index]; }
    // The file's bytes: a header naming the groups, the tables and their checksum.
    std::string Serialise() const;
    size_t Bytes() const { return table_.size(); }

private:
    PatternDatabase() = default;
    // Null when the file is not such a file, whole.
    static std::unique_ptr<PatternDatabase> Read(const std::string& path);
    std::vector<uint8_t> table_;
};
