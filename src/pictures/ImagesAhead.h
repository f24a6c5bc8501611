// Images read ahead: at start-up the game's own bitmaps are read on a thread
// of their own while the display comes up, and each is taken when its turn
// comes. Only bitmaps of the common kind (PlainBitmap.h) are read ahead; a
// file not read ahead, or that could not be read, is read when its turn comes
// as any other, and fails then, in its turn, with its own message.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
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

    // One file to read: its game name, its path on this machine, and how.
    struct File {
        std::string gameName;
        std::string hostPath;
        bool wide = false;  // as 0xFFRRGGBB pixels (for a filtering scale), not 5-6-5
    };
    // Every pixel of a file read wide.
    struct Wide {
        int width = 0;
        int height = 0;
        std::vector<uint32_t, UnfilledAllocator<uint32_t>> pixels;
    };

    // Starts reading these files, in this order. Images not taken yet are
    // dropped.
    void Start(std::vector<File> files);
    // The whole image of the file of that game name, once it is read; null
    // when it was not read ahead (as such), could not be, or was taken already.
    SurfacePtr Take(const std::string& gameName);
    // The same for a file read wide; empty pixels when there are none.
    Wide TakeWide(const std::string& gameName);
    // Stops the reading and drops what was read.
    void Stop();

private:
    struct Slot {
        File file;
        SurfacePtr image;
        Wide wide;
    };
    void Read();
    // The slot of that file, read; null when there is none.
    Slot* WaitFor(const std::string& gameName, bool wide, std::unique_lock<std::mutex>& hold);

    std::mutex lock_;
    std::condition_variable ready_;
    std::vector<Slot> slots_;
    size_t done_ = 0;  // slots read (or given up)
    bool stop_ = false;
    std::thread reader_;
};
