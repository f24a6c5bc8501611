#include "gfx/ImagesAhead.h"

#include <memory>
#include <utility>

#include "gfx/PlainBitmap.h"

ImagesAhead::~ImagesAhead() { Stop(); }

void ImagesAhead::Start(std::vector<std::pair<std::string, std::string>> files) {
    Stop();
    const std::lock_guard<std::mutex> hold(lock_);
    for (auto& [gameName, hostPath] : files) slots_.push_back({std::move(gameName), std::move(hostPath), nullptr});
    stop_ = false;
    done_ = 0;
    reader_ = std::thread(&ImagesAhead::Read, this);
}

void ImagesAhead::Stop() {
    {
        const std::lock_guard<std::mutex> hold(lock_);
        stop_ = true;
    }
    if (reader_.joinable()) reader_.join();
    const std::lock_guard<std::mutex> hold(lock_);
    slots_.clear();
    done_ = 0;
}

void ImagesAhead::Read() {
    for (size_t i = 0;; ++i) {
        std::string path;
        {
            const std::lock_guard<std::mutex> hold(lock_);
            if (stop_ || i >= slots_.size()) {
                done_ = slots_.size();
                break;
            }
            path = slots_[i].hostPath;
        }
        SurfacePtr image;
        if (const auto plain = PlainBitmap::Open(path)) {
            image = std::make_shared<Surface>(plain->Width(), plain->Height());
            if (!plain->Read565(0, 0, *image)) image.reset();
        }
        {
            const std::lock_guard<std::mutex> hold(lock_);
            slots_[i].image = std::move(image);
            done_ = i + 1;
        }
        ready_.notify_all();
    }
    ready_.notify_all();
}

SurfacePtr ImagesAhead::Take(const std::string& gameName) {
    std::unique_lock<std::mutex> hold(lock_);
    for (size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i].gameName != gameName) continue;
        // The reader never stops short of a slot without marking it done.
        ready_.wait(hold, [&] { return done_ > i; });
        return std::exchange(slots_[i].image, nullptr);
    }
    return nullptr;
}
