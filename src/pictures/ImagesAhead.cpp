#include "pictures/ImagesAhead.h"

#include <memory>
#include <utility>

#include "gfx/PlainBitmap.h"

ImagesAhead::~ImagesAhead() { Stop(); }

void ImagesAhead::Start(std::vector<File> files) {
    Stop();
    const std::lock_guard<std::mutex> hold(lock_);
    for (File& file : files) slots_.push_back({std::move(file), nullptr, {}});
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
        File file;
        {
            const std::lock_guard<std::mutex> hold(lock_);
            if (stop_ || i >= slots_.size()) {
                done_ = slots_.size();
                break;
            }
            file = slots_[i].file;
        }
        SurfacePtr image;
        Wide wide;
        if (const auto plain = PlainBitmap::Open(file.hostPath)) {
            if (file.wide) {
                wide.pixels.resize(static_cast<size_t>(plain->Width()) * plain->Height());
                ReadyPages(wide.pixels.data(), wide.pixels.size() * sizeof(uint32_t));
                if (plain->ReadArgb(wide.pixels.data(), plain->Width() * 4)) {
                    wide.width = plain->Width();
                    wide.height = plain->Height();
                } else {
                    wide = {};
                }
            } else {
                image = std::make_shared<Surface>(plain->Width(), plain->Height(), Unfilled{});
                if (!plain->Read565(0, 0, *image)) image.reset();
            }
        }
        {
            const std::lock_guard<std::mutex> hold(lock_);
            slots_[i].image = std::move(image);
            slots_[i].wide = std::move(wide);
            done_ = i + 1;
        }
        ready_.notify_all();
    }
    ready_.notify_all();
}

ImagesAhead::Slot* ImagesAhead::WaitFor(const std::string& gameName, bool wide, std::unique_lock<std::mutex>& hold) {
    for (size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i].file.gameName != gameName || slots_[i].file.wide != wide) continue;
        // The reader never stops short of a slot without marking it done.
        ready_.wait(hold, [&] { return done_ > i; });
        return &slots_[i];
    }
    return nullptr;
}

SurfacePtr ImagesAhead::Take(const std::string& gameName) {
    std::unique_lock<std::mutex> hold(lock_);
    Slot* slot = WaitFor(gameName, false, hold);
    return slot ? std::exchange(slot->image, nullptr) : nullptr;
}

ImagesAhead::Wide ImagesAhead::TakeWide(const std::string& gameName) {
    std::unique_lock<std::mutex> hold(lock_);
    Slot* slot = WaitFor(gameName, true, hold);
    return slot ? std::exchange(slot->wide, {}) : Wide{};
}
