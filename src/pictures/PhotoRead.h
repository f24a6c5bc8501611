// Reading one of the player's picture files (PNG, JPEG, WebP or BMP): its
// size from the decoder's own header read, then the pixels decoded at reduced
// size, straight into the centre square, turned upright, and prepared for
// play. No file costs more memory or time than the square it gives: a file
// that declares more than it holds, or asks for more work than a picture
// needs, is refused with the reason.
#pragma once

#include <atomic>
#include <optional>
#include <string>

#include "pictures/OwnPictures.h"

// The size a file's header declares, read by the library that would decode
// it, and every check of that size and of the file (at least 64x64, at most
// 8192 on a side and four times as long as wide, at most 256 MB). False, with
// `why` naming the reason, when the file would be refused.
bool ProbeOwnPicture(const std::string& path, std::string& why);

// The whole read: the checks above, the decoding at reduced size, upright as
// its EXIF orientation says, prepared (500x500 and 60x60, as PreparePicture).
// Gives up, with the reason in `why`, when *stop becomes true or after 5 s.
std::optional<OwnPicture> ReadOwnPicture(const std::string& path, std::string& why,
                                         const std::atomic<bool>* stop = nullptr);
