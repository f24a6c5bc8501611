// How the game reaches a player's photo file: a quick look at its header
// (its size, and whether it is a picture the game takes at all), and the
// whole reading and preparing. The photo shelf goes through this alone, so
// that tests can put a slow or counting reader in its place.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "pictures/OwnPictures.h"

struct PictureReader {
    virtual ~PictureReader();
    // False, with `why`, for a file the game would refuse by its header.
    virtual bool Probe(const std::string& path, std::string& why) = 0;
    // The file read and prepared (500x500 and 60x60); gives up, without a
    // picture, once `stop` is set.
    virtual std::optional<OwnPicture> Read(const std::string& path, std::string& why,
                                           const std::atomic<bool>& stop) = 0;
};

// The reader of real files.
std::shared_ptr<PictureReader> MakeFileReader();
