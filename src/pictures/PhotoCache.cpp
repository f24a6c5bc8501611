#include "pictures/PhotoCache.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>

#include "platform/Folders.h"
#include "platform/ReplaceFile.h"

namespace fs = std::filesystem;

namespace {

constexpr char kMagic[8] = {'V', 'e', 's', 'k', 'P', 'h', 'o', '1'};
constexpr const char* kEntryFolder = "photos";
constexpr const char* kEntryExtension = ".photo";
constexpr size_t kThumbBytes = static_cast<size_t>(kThumbSide) * kThumbSide * 2;
constexpr size_t kFullBytes = static_cast<size_t>(kPictureSide) * kPictureSide * 2;
constexpr size_t kMaxPathBytes = 4096;

// The header's length: magic, size, time, path length, path.
size_t HeadBytes(size_t pathBytes) { return sizeof kMagic + 8 + 8 + 4 + pathBytes; }
size_t EntryBytes(size_t pathBytes) { return HeadBytes(pathBytes) + kThumbBytes + 4 + kFullBytes + 4; }

void PutLe(std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
uint64_t GetLe(const std::string& in, size_t at, int bytes) {
    uint64_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(static_cast<uint8_t>(in[at + i])) << (8 * i);
    return v;
}

uint32_t Crc(const std::string& bytes, size_t from, size_t length) {
    return static_cast<uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(bytes.data() + from), static_cast<uInt>(length)));
}

void PutPixels(std::string& out, const Surface& image) {
    for (int y = 0; y < image.Height(); ++y) {
        const uint16_t* row = image.Row(y);
        for (int x = 0; x < image.Width(); ++x) PutLe(out, row[x], 2);
    }
}
SurfacePtr GetPixels(const std::string& in, size_t at, int side) {
    auto image = std::make_shared<Surface>(side, side, Unfilled{});
    for (int y = 0; y < side; ++y) {
        uint16_t* row = image->Row(y);
        for (int x = 0; x < side; ++x, at += 2) row[x] = static_cast<uint16_t>(GetLe(in, at, 2));
    }
    return image;
}

// The first `length` bytes of the file, when the file is exactly `whole` long.
bool ReadStart(const std::string& path, size_t length, size_t whole, std::string& bytes) {
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    if (ec || size != whole) return false;
    std::ifstream in(path, std::ios::binary);
    bytes.resize(length);
    return in && in.read(bytes.data(), static_cast<std::streamsize>(length));
}

// The entry's header and thumbnail checked against the key: the thumbnail's
// offset when they hold.
bool ReadHead(const std::string& entry, const PhotoKey& key, bool whole, std::string& bytes) {
    if (key.path.size() > kMaxPathBytes) return false;
    const size_t head = HeadBytes(key.path.size());
    const size_t thumbEnd = head + kThumbBytes + 4;
    if (!ReadStart(entry, whole ? EntryBytes(key.path.size()) : thumbEnd, EntryBytes(key.path.size()), bytes)) {
        return false;
    }
    if (!std::equal(kMagic, kMagic + sizeof kMagic, bytes.begin())) return false;
    size_t at = sizeof kMagic;
    if (GetLe(bytes, at, 8) != key.size) return false;
    if (static_cast<int64_t>(GetLe(bytes, at + 8, 8)) != key.mtime) return false;
    if (GetLe(bytes, at + 16, 4) != key.path.size()) return false;
    if (bytes.compare(at + 20, key.path.size(), key.path) != 0) return false;
    return GetLe(bytes, head + kThumbBytes, 4) == Crc(bytes, 0, head + kThumbBytes);
}

}  // namespace

bool PhotoKeyOf(const std::string& path, PhotoKey& key) {
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    if (ec) return false;
    const fs::file_time_type time = fs::last_write_time(path, ec);
    if (ec) return false;
    key.path = path;
    key.size = size;
    key.mtime = std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
    return true;
}

std::string PhotoEntryPath(const std::string& cacheFolder, const std::string& photoPath) {
    // FNV-1a of the path: a name of fixed length for any path.
    uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : photoPath) hash = (hash ^ c) * 1099511628211ull;
    static const char kHex[] = "0123456789abcdef";
    std::string name;
    for (int i = 60; i >= 0; i -= 4) name.push_back(kHex[(hash >> i) & 0xF]);
    return (fs::path(cacheFolder) / kEntryFolder / (name + kEntryExtension)).string();
}

SurfacePtr ReadCachedThumb(const std::string& cacheFolder, const PhotoKey& key) {
    if (cacheFolder.empty()) return nullptr;
    std::string bytes;
    if (!ReadHead(PhotoEntryPath(cacheFolder, key.path), key, false, bytes)) return nullptr;
    return GetPixels(bytes, HeadBytes(key.path.size()), kThumbSide);
}

std::optional<OwnPicture> ReadCachedPhoto(const std::string& cacheFolder, const PhotoKey& key) {
    if (cacheFolder.empty()) return std::nullopt;
    std::string bytes;
    if (!ReadHead(PhotoEntryPath(cacheFolder, key.path), key, true, bytes)) return std::nullopt;
    const size_t full = HeadBytes(key.path.size()) + kThumbBytes + 4;
    if (GetLe(bytes, full + kFullBytes, 4) != Crc(bytes, full, kFullBytes)) return std::nullopt;
    OwnPicture picture;
    picture.thumb = GetPixels(bytes, HeadBytes(key.path.size()), kThumbSide);
    picture.full = GetPixels(bytes, full, kPictureSide);
    return picture;
}

bool WriteCachedPhoto(const std::string& cacheFolder, const PhotoKey& key, const OwnPicture& picture) {
    if (cacheFolder.empty() || key.path.size() > kMaxPathBytes || !picture.full || !picture.thumb) return false;
    if (picture.full->Width() != kPictureSide || picture.full->Height() != kPictureSide ||
        picture.thumb->Width() != kThumbSide || picture.thumb->Height() != kThumbSide) {
        return false;
    }
    if (!MakePrivateFolder((fs::path(cacheFolder) / kEntryFolder).string())) return false;
    std::string bytes(kMagic, sizeof kMagic);
    bytes.reserve(EntryBytes(key.path.size()));
    PutLe(bytes, key.size, 8);
    PutLe(bytes, static_cast<uint64_t>(key.mtime), 8);
    PutLe(bytes, key.path.size(), 4);
    bytes += key.path;
    PutPixels(bytes, *picture.thumb);
    PutLe(bytes, Crc(bytes, 0, bytes.size()), 4);
    const size_t full = bytes.size();
    PutPixels(bytes, *picture.full);
    PutLe(bytes, Crc(bytes, full, kFullBytes), 4);
    return ReplaceFileContents(PhotoEntryPath(cacheFolder, key.path), bytes);
}

void PruneCachedPhotos(const std::string& cacheFolder, const std::vector<std::string>& photoPaths) {
    if (cacheFolder.empty()) return;
    std::set<std::string> kept;
    for (const std::string& path : photoPaths) kept.insert(fs::path(PhotoEntryPath(cacheFolder, path)).filename());
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(cacheFolder) / kEntryFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path name = it->path().filename();
        if (name.extension() == kEntryExtension && !kept.count(name.string())) {
            std::error_code removeError;
            fs::remove(it->path(), removeError);
        }
    }
}
