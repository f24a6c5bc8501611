// The player's photos in the game: found at start-up (their names, and
// their headers or cached thumbnails), prepared on the photo shelf's thread,
// and taken in frame by frame. A photo chosen before it is prepared is
// waited for on a frame of its own, the pointer still moving.
#include <algorithm>
#include <filesystem>
#include <iostream>

#include "app/Game.h"
#include "pictures/OwnPictures.h"
#include "pictures/PhotoCache.h"
#include "platform/Paths.h"

namespace fs = std::filesystem;

namespace {

// The caption's place: the middle of the board.
constexpr int32_t kBoardLeft = 50, kBoardTop = 50, kBoardSide = 500;

std::string PathIn(const std::string& folder, const std::string& name) { return (fs::path(folder) / name).string(); }

// One path for a file however the folder was named, for the cache's key.
std::string KeyPath(const std::string& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

FoundPhotos FindPhotos(const std::string& folder, const std::string& cache, PictureReader& reader) {
    FoundPhotos found;
    if (!MakePicturesFolder(folder)) found.skipped += "Vesk: cannot make the pictures folder " + folder + "\n";
    for (const std::string& name : OwnPictureNames(folder)) {
        const std::string path = PathIn(folder, name);
        const std::string keyPath = KeyPath(path);
        std::string why;
        SurfacePtr thumb;
        bool taken = false;
        if (found.photos.size() >= kMaxOwnPictures) {
            why = "only the first 100 pictures are taken";
        } else {
            // A photo prepared before, unchanged since, needs no look at its header.
            PhotoKey key;
            if (PhotoKeyOf(keyPath, key)) thumb = ReadCachedThumb(cache, key);
            taken = thumb || reader.Probe(path, why);
        }
        if (!taken) {
            found.skipped += "Vesk: picture " + path + " skipped: " + why + "\n";
            continue;
        }
        found.names.push_back(name);
        found.photos.push_back({keyPath, thumb});
    }
    return found;
}

}  // namespace

void Game::FindOwnPictures() {
    foundPhotos = std::async(std::launch::async, FindPhotos, PlayerPath(kPicturesFolder), CacheFolder(),
                             std::ref(*pictureReader));
}

void Game::AddOwnPictures() {
    if (!foundPhotos.valid()) FindOwnPictures();
    FoundPhotos found = foundPhotos.get();
    std::cerr << found.skipped;
    std::cerr.flush();
    for (size_t k = 0; k < found.names.size(); ++k) {
        ownPictureShelf.push_back(k);
        pictureFull.push_back(nullptr);
        pictureThumb.push_back(found.photos[k].thumb);
        ownPictureFiles.push_back(found.names[k]);
    }
    photoShelf.Start(pictureReader, std::move(found.photos), CacheFolder());
}

void Game::TakePhotoNews() {
    for (const PhotoShelf::News& news : photoShelf.TakeNews()) {
        int32_t index = -1;
        for (size_t k = 0; k < ownPictureShelf.size(); ++k) {
            if (ownPictureShelf[k] == news.photo) index = kGamePictures + static_cast<int32_t>(k);
        }
        if (index < 0) continue;
        const size_t at = static_cast<size_t>(index);
        if (news.thumb) {
            pictureThumb[at] = news.thumb;
            continue;
        }
        std::cerr << "Vesk: picture " << PathIn(PlayerPath(kPicturesFolder), ownPictureFiles[at - kGamePictures])
                  << " skipped: " << news.why << "\n";
        // The picture in play stays in play: it is in memory already.
        if (index == pictureIndex) continue;
        pictureFull.erase(pictureFull.begin() + index);
        pictureThumb.erase(pictureThumb.begin() + index);
        ownPictureFiles.erase(ownPictureFiles.begin() + (index - kGamePictures));
        ownPictureShelf.erase(ownPictureShelf.begin() + (index - kGamePictures));
        if (pictureIndex > index) --pictureIndex;
        pictureRowFirst = std::clamp(pictureRowFirst, 0, std::max(0, PictureCount() - 3));
        if (preparingPicture > index) {
            --preparingPicture;
        } else if (preparingPicture == index) {
            // Chosen on the options page: the choice is undone. Reached by
            // playing on: the picture after it takes its turn.
            preparingPicture = -1;
            screen = preparingReturn;
            if (screen != ScreenOptions) ChoosePicture(index % PictureCount());
        }
    }
}

bool Game::OwnPictureReady(int32_t index, int waitMs) {
    if (index < 0 || index >= PictureCount()) return true;
    const size_t at = static_cast<size_t>(index);
    // Whole pictures are kept for the chosen one and the next only.
    std::vector<size_t> wanted;
    for (int32_t k : {index, index + 1}) {
        if (k >= kGamePictures && k < PictureCount()) wanted.push_back(ownPictureShelf[static_cast<size_t>(k - kGamePictures)]);
    }
    photoShelf.Want(wanted);
    for (size_t k = kGamePictures; k < pictureFull.size(); ++k) {
        if (k != at) pictureFull[k].reset();
    }
    if (index < kGamePictures) return true;
    if (!pictureFull[at]) pictureFull[at] = photoShelf.WaitFull(ownPictureShelf[at - kGamePictures], waitMs);
    return pictureFull[at] != nullptr;
}

void Game::WaitForOwnPicture(int32_t index) {
    if (screen != ScreenPreparing) preparingReturn = screen;
    preparingPicture = index;
    screen = ScreenPreparing;
}

void Game::PreparingFrame() {
    if (preparingReturn == ScreenOptions) {
        DrawImage(0, 0, backgroundOptionsImage, nullptr, BlitMode::Opaque);
    } else {
        DrawImage(0, 0, backgroundImage, nullptr, BlitMode::Opaque);
        DrawImage(45, 45, borderImage, nullptr, BlitMode::Opaque);
    }
    if (preparingImage) {
        DrawImage(kBoardLeft + (kBoardSide - preparingImage->Width()) / 2,
                  kBoardTop + (kBoardSide - preparingImage->Height()) / 2, preparingImage, nullptr, BlitMode::Keyed);
    }
    ReadCursor();
    DrawPointer(pointerSprite, cursor.x, cursor.y);
    Flip();
    if (preparingPicture >= 0 && !OwnPictureReady(preparingPicture)) return;
    const int32_t index = preparingPicture;
    preparingPicture = -1;
    screen = preparingReturn;
    if (index >= 0) ChoosePicture(index);
}
