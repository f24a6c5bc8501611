// The player's photos as prepared for play, kept in the cache folder so that
// a photo is decoded once, not at every start. One entry a photo, named
// after its path, holding its 60x60 thumbnail and its 500x500 picture, each
// with a checksum, and the photo's path, size and modification time: an
// entry that is damaged, or made from another state of the file, is never
// taken. The thumbnail is read without the picture.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gfx/Surface.h"
#include "pictures/OwnPictures.h"

struct PhotoKey {
    std::string path;
    uint64_t size = 0;
    int64_t mtime = 0;  // nanoseconds of the file clock
    bool operator==(const PhotoKey&) const = default;
};

// The key of the file as it is now; false when it cannot be looked at.
bool PhotoKeyOf(const std::string& path, PhotoKey& key);

// The entry file of a photo in the cache folder.
std::string PhotoEntryPath(const std::string& cacheFolder, const std::string& photoPath);

// The thumbnail of a whole, current entry; null when there is none.
SurfacePtr ReadCachedThumb(const std::string& cacheFolder, const PhotoKey& key);
// The picture and its thumbnail of a whole, current entry.
std::optional<OwnPicture> ReadCachedPhoto(const std::string& cacheFolder, const PhotoKey& key);
// Stores the entry whole or not at all (a temporary file renamed into place).
bool WriteCachedPhoto(const std::string& cacheFolder, const PhotoKey& key, const OwnPicture& picture);
// Removes the entries of every photo not among these paths.
void PruneCachedPhotos(const std::string& cacheFolder, const std::vector<std::string>& photoPaths);
