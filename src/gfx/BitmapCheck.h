// A look at a bitmap file's headers before SDL reads it: a hostile or damaged
// file must not make the reader allocate what the file cannot hold.
#pragma once

#include <cstddef>
#include <cstdint>

struct SDL_RWops;
struct SDL_Surface;

// The game's images are at most 800x600; anything wider or taller than this
// is refused.
constexpr int kMaxBitmapSide = 4096;

// The bytes of the headers the check needs (file header and info header).
constexpr size_t kBitmapHeadBytes = 54;

// True when the first headBytes bytes of a file of fileBytes bytes are the
// headers of an uncompressed (or bit-field) bitmap of 1 to kMaxBitmapSide
// pixels a side and a usual bit count, whose pixel rows lie in the file whole.
bool BitmapHeaderFits(const uint8_t* head, size_t headBytes, uint64_t fileBytes);

// Reads a bitmap from the stream's current position to its end with SDL, only
// when its headers fit; null otherwise. The stream stays open.
SDL_Surface* ReadCheckedBitmap(SDL_RWops* file);
