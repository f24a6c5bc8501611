// Images read ahead: at start-up the game's own bitmaps are read on a thread
// of their own while the display comes up, and each is taken when its turn
// comes. Only bitmaps of the common kind (PlainBitmap.h) are read ahead; a
// file not read ahead, or that could not be read, is read when its turn comes
// as any other, and fails then, in its turn, with its own message.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gfx/Surface.h"

class ImagesAhead {
public:
    ImagesAhead() = default;
    ~ImagesAhead();
    ImagesAhead(const ImagesAhead&) = delete;
    ImagesAhead& operator=(const ImagesAhead&) = delete;

    // Starts reading these files (game names with their paths on this
    // machine), in this order. Images not taken yet are dropped.
    void Start(std::vector<std::pair<std::string, std::string>> files);
    // The whole image of the file of that game name, once it is read; null
    // when it was not read ahead, could not be, or was taken already.
    SurfacePtr Take(const std::string& gameName);
    // Stops the reading and drops what was read.
    void Stop();

private:
    struct Slot {
        std::string gameName;
        std::string hostPath;
        SurfacePtr image;
    };
    void Read();

    std::mutex lock_;
    std::condition_variable ready_;
    std::vector<Slot> slots_;
    size_t done_ = 0;  // slots read (or given up)
    bool stop_ = false;
    std::thread reader_;
};
