// The player's photos prepared on a thread of their own, so that the game
// starts at once however many there are. Each photo's thumbnail is made (or
// taken from the cache folder) in the order the options row shows them; the
// whole 500x500 picture is kept only for the photos the game wants (the
// chosen one and the next), and those go first. A photo that cannot be
// prepared is reported, once, as refused.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gfx/Surface.h"
#include "pictures/PictureReader.h"

// The photos of the Pictures folder as found at start-up: the names taken,
// their photos (with the thumbnails the cache already holds), and the lines
// naming the files left out.
struct FoundPhotos;

class PhotoShelf {
public:
    PhotoShelf() = default;
    ~PhotoShelf();
    PhotoShelf(const PhotoShelf&) = delete;
    PhotoShelf& operator=(const PhotoShelf&) = delete;

    // One photo: its file's path, and its thumbnail when already at hand.
    struct Photo {
        std::string path;
        SurfacePtr thumb;
    };
    // Starts preparing these photos through `reader`, keeping what it
    // prepares in `cacheFolder` (empty: nowhere); entries of other photos
    // are pruned from it once every photo is done.
    void Start(std::shared_ptr<PictureReader> reader, std::vector<Photo> photos, std::string cacheFolder);

    // What became of photos since the last call: a thumbnail made, or (with
    // a null thumbnail) the photo refused, for `why`.
    struct News {
        size_t photo = 0;
        SurfacePtr thumb;
        std::string why;
    };
    std::vector<News> TakeNews();

    // The photos whose whole pictures are to be kept, first in line; any
    // other's is let go.
    void Want(std::vector<size_t> photos);
    // The photo's whole picture, or null while it is not prepared yet (it is
    // then first in line) or when it was refused.
    SurfacePtr Full(size_t photo);
    bool Refused(size_t photo);
    // Full, waiting at most `ms` for it.
    SurfacePtr WaitFull(size_t photo, int ms);
    // Every photo prepared or refused (and the cache pruned); WaitDone waits
    // at most `ms` for it.
    bool Done();
    bool WaitDone(int ms);

    // Stops the thread: the reader is told to give up, and the thread is
    // waited for at most `ms` (a reader that cannot give up half-way is then
    // left to end on its own).
    void Stop(int ms = 300);

private:
    struct Slot {
        std::string path;
        SurfacePtr thumb;
        SurfacePtr full;
        bool refused = false;
    };
    struct State {
        std::mutex lock;
        std::condition_variable wake;     // work for the thread
        std::condition_variable changed;  // something prepared, or the thread ended
        std::atomic<bool> stop{false};
        std::shared_ptr<PictureReader> reader;
        std::string cacheFolder;
        std::vector<Slot> slots;
        std::vector<size_t> wanted;
        std::deque<News> news;
        bool pruned = false;
        bool ended = false;
    };
    static void Run(std::shared_ptr<State> state);

    std::shared_ptr<State> state_;
    std::thread thread_;
};

struct FoundPhotos {
    std::vector<std::string> names;
    std::vector<PhotoShelf::Photo> photos;
    std::string skipped;
};
