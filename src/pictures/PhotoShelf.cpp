#include "pictures/PhotoShelf.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <utility>

#include "pictures/PhotoCache.h"

namespace {

bool Contains(const std::vector<size_t>& list, size_t k) { return std::find(list.begin(), list.end(), k) != list.end(); }

}  // namespace

PhotoShelf::~PhotoShelf() { Stop(); }

void PhotoShelf::Start(std::shared_ptr<PictureReader> reader, std::vector<Photo> photos, std::string cacheFolder) {
    Stop();
    state_ = std::make_shared<State>();
    state_->reader = std::move(reader);
    state_->cacheFolder = std::move(cacheFolder);
    for (Photo& photo : photos) state_->slots.push_back({std::move(photo.path), std::move(photo.thumb), nullptr, false});
    thread_ = std::thread(&PhotoShelf::Run, state_);
}

void PhotoShelf::Stop(int ms) {
    if (!state_) return;
    {
        std::unique_lock<std::mutex> hold(state_->lock);
        state_->stop = true;
        state_->wake.notify_all();
        state_->changed.wait_for(hold, std::chrono::milliseconds(ms), [this] { return state_->ended; });
        if (thread_.joinable()) {
            if (state_->ended) {
                hold.unlock();
                thread_.join();
            } else {
                // It holds the state and the reader itself: both outlive us.
                thread_.detach();
            }
        }
    }
    state_.reset();
}

std::vector<PhotoShelf::News> PhotoShelf::TakeNews() {
    if (!state_) return {};
    const std::lock_guard<std::mutex> hold(state_->lock);
    std::vector<News> news(std::make_move_iterator(state_->news.begin()), std::make_move_iterator(state_->news.end()));
    state_->news.clear();
    return news;
}

void PhotoShelf::Want(std::vector<size_t> photos) {
    if (!state_) return;
    const std::lock_guard<std::mutex> hold(state_->lock);
    state_->wanted = std::move(photos);
    for (size_t k = 0; k < state_->slots.size(); ++k) {
        if (!Contains(state_->wanted, k)) state_->slots[k].full.reset();
    }
    state_->wake.notify_all();
}

SurfacePtr PhotoShelf::Full(size_t photo) {
    if (!state_) return nullptr;
    const std::lock_guard<std::mutex> hold(state_->lock);
    if (photo >= state_->slots.size()) return nullptr;
    if (state_->slots[photo].full || state_->slots[photo].refused) return state_->slots[photo].full;
    if (!Contains(state_->wanted, photo)) {
        state_->wanted.insert(state_->wanted.begin(), photo);
        state_->wake.notify_all();
    }
    return nullptr;
}

bool PhotoShelf::Refused(size_t photo) {
    if (!state_) return true;
    const std::lock_guard<std::mutex> hold(state_->lock);
    return photo >= state_->slots.size() || state_->slots[photo].refused;
}

SurfacePtr PhotoShelf::WaitFull(size_t photo, int ms) {
    if (SurfacePtr full = Full(photo)) return full;
    if (!state_) return nullptr;
    std::unique_lock<std::mutex> hold(state_->lock);
    if (photo >= state_->slots.size()) return nullptr;
    const Slot& slot = state_->slots[photo];
    state_->changed.wait_for(hold, std::chrono::milliseconds(ms),
                             [&] { return slot.full || slot.refused || state_->ended; });
    return slot.full;
}

bool PhotoShelf::Done() {
    if (!state_) return true;
    const std::lock_guard<std::mutex> hold(state_->lock);
    return state_->pruned;
}

bool PhotoShelf::WaitDone(int ms) {
    if (!state_) return true;
    std::unique_lock<std::mutex> hold(state_->lock);
    return state_->changed.wait_for(hold, std::chrono::milliseconds(ms),
                                    [this] { return state_->pruned || state_->ended; }) &&
           state_->pruned;
}

void PhotoShelf::Run(std::shared_ptr<State> state) {
    State& s = *state;
    std::unique_lock<std::mutex> hold(s.lock);
    while (!s.stop) {
        // The wanted photos' whole pictures first, then every thumbnail in turn.
        std::optional<size_t> job;
        bool whole = false;
        for (size_t k : s.wanted) {
            if (!job && k < s.slots.size() && !s.slots[k].full && !s.slots[k].refused) {
                job = k;
                whole = true;
            }
        }
        for (size_t k = 0; !job && k < s.slots.size(); ++k) {
            if (!s.slots[k].thumb && !s.slots[k].refused) job = k;
        }
        if (!job) {
            if (!s.pruned) {
                std::vector<std::string> paths;
                for (const Slot& slot : s.slots) paths.push_back(slot.path);
                hold.unlock();
                PruneCachedPhotos(s.cacheFolder, paths);
                hold.lock();
                s.pruned = true;
                s.changed.notify_all();
                continue;
            }
            s.wake.wait(hold);
            continue;
        }
        const std::string path = s.slots[*job].path;
        hold.unlock();

        // From the cache when it holds the file as it is now; else prepared
        // and stored.
        OwnPicture picture;
        std::string why;
        PhotoKey key;
        const bool known = PhotoKeyOf(path, key);
        if (!known) why = "it cannot be read";
        if (known && !whole) picture.thumb = ReadCachedThumb(s.cacheFolder, key);
        if (known && !picture.thumb) {
            std::optional<OwnPicture> made = ReadCachedPhoto(s.cacheFolder, key);
            if (!made) {
                made = s.reader->Read(path, why, s.stop);
                if (s.stop) break;
                if (made) WriteCachedPhoto(s.cacheFolder, key, *made);
            }
            if (made) picture = std::move(*made);
        }

        hold.lock();
        Slot& slot = s.slots[*job];
        if (!picture.thumb || (whole && !picture.full)) {
            slot.refused = true;
            s.news.push_back({*job, nullptr, why.empty() ? "it cannot be prepared" : why});
        } else {
            if (!slot.thumb) s.news.push_back({*job, picture.thumb, {}});
            slot.thumb = picture.thumb;
            if (Contains(s.wanted, *job)) slot.full = picture.full;
        }
        s.changed.notify_all();
    }
    if (hold.owns_lock()) hold.unlock();
    // What SDL keeps for this thread (its error text, set by the decoders)
    // goes with it: SDL frees it only for threads of its own making.
    SDL_TLSCleanup();
    hold.lock();
    s.ended = true;
    s.changed.notify_all();
}
