#include "puzzle/PatternDatabase.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/Folders.h"
#include "platform/ReplaceFile.h"

namespace {

constexpr char kMagic[8] = {'V', 'E', 'S', 'K', 'P', 'D', 'B', '1'};
constexpr uint8_t kNotYet = 0xFF;
// Magic, three counts, the groups' tiles (padded to 16 bytes), the checksum.
constexpr size_t kHeader = sizeof kMagic + 3 * 4 + 16 + 4;

uint32_t Spread(uint32_t seed, uint32_t open) {
    uint32_t reach = seed;
    for (;;) {
        const uint32_t grown =
            (reach | ((reach << 1) & 0xEEEEu) | ((reach >> 1) & 0x7777u) | ((reach << 4) & 0xFFFFu) | (reach >> 4)) & open;
        if (grown == reach) return reach;
        reach = grown;
    }
}

int32_t Lowest(uint32_t bits) { return __builtin_ctz(bits); }

// One group's table, by breadth-first search backwards from home. A state is
// where the group's tiles lie plus which region of the other cells holds the
// blank (named by its lowest cell): the blank moves about its region for
// free, and a move of a group tile into the region costs one.
bool BuildGroup(const std::array<int8_t, PatternDatabase::kGroupSize>& tiles, uint8_t* table,
                std::vector<uint64_t>& seen, const std::stop_token& stop) {
    constexpr int32_t k = PatternDatabase::kGroupSize;
    std::fill(table, table + PatternDatabase::kEntries, kNotYet);
    std::fill(seen.begin(), seen.end(), 0);
    auto visit = [&](uint32_t state) {
        uint64_t& word = seen[state >> 6];
        const uint64_t bit = uint64_t{1} << (state & 63);
        if (word & bit) return false;
        word |= bit;
        return true;
    };

    uint32_t home = 0;
    uint32_t homeCells = 0;
    for (int32_t i = 0; i < k; ++i) {
        home |= static_cast<uint32_t>(tiles[i]) << (4 * i);
        homeCells |= 1u << tiles[i];
    }
    table[home] = 0;
    std::vector<uint32_t> layer{home << 4 | static_cast<uint32_t>(Lowest(Spread(1u, ~homeCells & 0xFFFFu)))};
    visit(layer[0]);
    std::vector<uint32_t> nextLayer;
    uint32_t work = 0;
    for (uint8_t depth = 0; !layer.empty(); ++depth) {
        nextLayer.clear();
        for (const uint32_t state : layer) {
            if ((++work & 4095u) == 0 && stop.stop_requested()) return false;
            const uint32_t index = state >> 4;
            uint32_t taken = 0;
            for (int32_t i = 0; i < k; ++i) taken |= 1u << (index >> (4 * i) & 15u);
            const uint32_t region = Spread(1u << (state & 15u), ~taken & 0xFFFFu);
            for (int32_t i = 0; i < k; ++i) {
                const int32_t from = static_cast<int32_t>(index >> (4 * i) & 15u);
                const int32_t row = from / 4;
                const int32_t col = from % 4;
                const int32_t beside[4] = {row > 0 ? from - 4 : -1, row < 3 ? from + 4 : -1, col > 0 ? from - 1 : -1,
                                           col < 3 ? from + 1 : -1};
                for (const int32_t to : beside) {
                    if (to < 0 || !(region >> to & 1u)) continue;
                    const uint32_t moved = (index & ~(15u << (4 * i))) | static_cast<uint32_t>(to) << (4 * i);
                    const uint32_t open = ~(taken ^ (1u << from) ^ (1u << to)) & 0xFFFFu;
                    const uint32_t after = moved << 4 | static_cast<uint32_t>(Lowest(Spread(1u << from, open)));
                    if (!visit(after)) continue;
                    if (table[moved] == kNotYet) table[moved] = static_cast<uint8_t>(depth + 1);
                    nextLayer.push_back(after);
                }
            }
        }
        layer.swap(nextLayer);
    }
    return true;
}

void Put32(std::string& out, uint32_t v) {
    for (int32_t i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i) & 0xFFu));
}

uint32_t Get32(const std::string& in, size_t at) {
    uint32_t v = 0;
    for (int32_t i = 3; i >= 0; --i) v = v << 8 | static_cast<uint8_t>(in[at + static_cast<size_t>(i)]);
    return v;
}

uint32_t Checksum(const uint8_t* data, size_t size) {
    uLong crc = crc32(0L, Z_NULL, 0);
    constexpr size_t kChunk = 1u << 20;
    for (size_t at = 0; at < size; at += kChunk) {
        crc = crc32(crc, data + at, static_cast<uInt>(std::min(kChunk, size - at)));
    }
    return static_cast<uint32_t>(crc);
}

// The header of a file of these groups, checksum aside.
std::string HeaderStart() {
    std::string out(kMagic, sizeof kMagic);
    Put32(out, PatternDatabase::kGroups);
    Put32(out, PatternDatabase::kGroupSize);
    Put32(out, PatternDatabase::kEntries);
    std::string tiles(16, '\0');
    size_t at = 0;
    for (const auto& group : PatternDatabase::kGroupTiles) {
        for (const int8_t tile : group) tiles[at++] = static_cast<char>(tile);
    }
    return out + tiles;
}

}  // namespace

std::unique_ptr<PatternDatabase> PatternDatabase::Build(std::stop_token stop) {
    std::unique_ptr<PatternDatabase> db(new PatternDatabase);
    db->table_.resize(static_cast<size_t>(kGroups) * kEntries);
    // One bit for every (tiles' cells, blank's region) state: 2 MB.
    std::vector<uint64_t> seen((size_t{kEntries} << 4) / 64);
    for (int32_t g = 0; g < kGroups; ++g) {
        if (!BuildGroup(kGroupTiles[g], db->table_.data() + static_cast<size_t>(g) * kEntries, seen, stop)) return nullptr;
    }
    return db;
}

std::string PatternDatabase::Serialise() const {
    std::string out = HeaderStart();
    Put32(out, Checksum(table_.data(), table_.size()));
    out.append(reinterpret_cast<const char*>(table_.data()), table_.size());
    return out;
}

std::unique_ptr<PatternDatabase> PatternDatabase::Read(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return nullptr;
    const std::string start = HeaderStart();
    std::string header(kHeader, '\0');
    std::unique_ptr<PatternDatabase> db(new PatternDatabase);
    db->table_.resize(static_cast<size_t>(kGroups) * kEntries);
    // Whole, and not a byte longer.
    const bool whole = std::fread(header.data(), 1, kHeader, file) == kHeader &&
                       std::fread(db->table_.data(), 1, db->table_.size(), file) == db->table_.size() &&
                       std::fgetc(file) == EOF;
    std::fclose(file);
    if (!whole || header.compare(0, start.size(), start) != 0) return nullptr;
    if (Get32(header, start.size()) != Checksum(db->table_.data(), db->table_.size())) return nullptr;
    return db;
}

std::unique_ptr<PatternDatabase> PatternDatabase::Open(const std::string& folder, std::stop_token stop, bool* built) {
    if (built) *built = false;
    const std::string path = folder + "/" + kFileName;
    if (!folder.empty()) {
        if (auto db = Read(path)) return db;
    }
    auto db = Build(stop);
    if (!db) return nullptr;
    if (built) *built = true;
    if (!folder.empty() && !(MakePrivateFolder(folder) && ReplaceFileContents(path, db->Serialise()))) {
        std::fprintf(stderr, "vesk: cannot keep %s (%s); the solver's tables are made again next time\n", path.c_str(),
                     std::strerror(errno));
    }
    return db;
}
