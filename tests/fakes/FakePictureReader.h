// A picture reader for tests: it counts its probes and reads, prepares every
// photo in one colour of the test's choosing, and can be made slow (a read
// lasts until released, or until it is told to stop).
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "fakes/TestFolder.h"
#include "pictures/PictureReader.h"

class FakePictureReader : public PictureReader {
public:
    std::atomic<int> probes{0};
    std::atomic<int> reads{0};     // begun
    std::atomic<int> stopped{0};   // given up on being told to stop
    std::atomic<bool> slow{false};
    std::atomic<uint16_t> colour{testart::To565(Rgb{40, 160, 220})};

    bool Probe(const std::string&, std::string&) override {
        ++probes;
        return true;
    }
    std::optional<OwnPicture> Read(const std::string&, std::string& why, const std::atomic<bool>& stop) override {
        ++reads;
        {
            std::lock_guard<std::mutex> hold(lock_);
            reading_ = true;
        }
        changed_.notify_all();
        // The slow read: a decoder's loop that looks at `stop` as it goes.
        while (slow && !stop) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (stop) {
            ++stopped;
            why = "stopped";
            return std::nullopt;
        }
        OwnPicture picture;
        picture.full = std::make_shared<Surface>(kPictureSide, kPictureSide, colour.load());
        picture.thumb = std::make_shared<Surface>(kThumbSide, kThumbSide, colour.load());
        return picture;
    }
    // Waits at most `ms` for a read to begin.
    bool WaitForRead(int ms) {
        std::unique_lock<std::mutex> hold(lock_);
        return changed_.wait_for(hold, std::chrono::milliseconds(ms), [this] { return reading_; });
    }

private:
    std::mutex lock_;
    std::condition_variable changed_;
    bool reading_ = false;
};
