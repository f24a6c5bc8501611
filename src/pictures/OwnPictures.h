// The player's own pictures: every PNG, JPEG, WebP or BMP file of the Pictures
// folder becomes a puzzle after the game's three. Each is read once, at
// start-up, and prepared in memory: its middle square scaled to 500x500 in the
// frame's 5-6-5 format, and a 60x60 thumbnail. Nothing is written back.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "gfx/Surface.h"

struct SDL_Surface;

// The folder's name under the player folder.
inline constexpr const char* kPicturesFolder = "Pictures";
constexpr int kGamePictures = 3;      // Tiger, Bird, Flower
constexpr int kMaxOwnPictures = 100;  // more are left out
constexpr int kPictureSide = 500;
constexpr int kThumbSide = 60;

struct OwnPicture {
    SurfacePtr full;   // 500x500
    SurfacePtr thumb;  // 60x60
    std::string file;  // its name in the folder
};

// Makes the folder, with a README.txt that says what to put there, when it
// does not exist yet. False when it cannot be made.
bool MakePicturesFolder(const std::string& folder);

// The PNG, JPEG, WebP and BMP files of the folder in file-name order, prepared; at
// most kMaxOwnPictures. Every file left out is named on `log`, one line each,
// with the reason.
std::vector<OwnPicture> LoadOwnPictures(const std::string& folder, std::ostream& log);

// The names of the folder's PNG, JPEG, WebP and BMP files, in file-name order.
std::vector<std::string> OwnPictureNames(const std::string& folder);
// A decoded image of any size prepared for play: its centre square, scaled
// with a filter, in 5-6-5 with pure green moved one step off the colour key.
OwnPicture PreparePicture(SDL_Surface* image);

// The size x size square of `picture` whose top-left is (x, y).
SurfacePtr CutSquare(const Surface& picture, int x, int y, int size);
// The blank tile of a picture: its top-left size x size square as an empty slot.
SurfacePtr HollowTile(const Surface& picture, int size);

// Reading one file: ProbeOwnPicture, ReadOwnPicture.
#include "pictures/PhotoRead.h"
