// The game itself for the presenting benchmark, on the window's own surface,
// (VESK_RENDERER_PRESENT) on the renderer path that Wayland and KMS/DRM take,
// or (VESK_GL_PRESENT) on the old GL renderer. It prints the moment of its
// first presented frame (CLOCK_MONOTONIC, as the benchmark's clock) and, when
// it ends, the time per frame of each stage.
#include <time.h>

#include <chrono>
#include <cstdio>

#include "app/FrameLoop.h"
#include "app/Game.h"
#include "platform/MixerAudio.h"
#include "platform/SdlPlatform.h"
#if VESK_GL_PRESENT
#include "GlPresentPlatform.h"
using BasePlatform = GlPresentPlatform;
#else
using BasePlatform = SdlPlatform;
#endif

namespace {

using Clock = std::chrono::steady_clock;

double Now() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

class TimedPlatform : public BasePlatform {
public:
#if VESK_RENDERER_PRESENT
    TimedPlatform() { PresentThroughRenderer(true); }
#endif
    DisplayStep OpenDisplay() override {
        openBegin_ = Now();
        const DisplayStep step = BasePlatform::OpenDisplay();
        openEnd_ = Now();
        return step;
    }
    void ShowMainWindow() override {
        showBegin_ = Now();
        BasePlatform::ShowMainWindow();
        showEnd_ = Now();
    }
    // The frame's drawing starts after its message: the message's own work
    // (on the second frame, the request for full screen) is not drawing.
    bool PeekMessage(Message& out) override {
        const bool taken = BasePlatform::PeekMessage(out);
        frameStart_ = Clock::now();
        return taken;
    }
    void Present(const Surface& frame, const std::vector<Rect>& changed) override {
        if (frameStart_ != Clock::time_point{}) {
            drawNs_ += std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - frameStart_).count();
            ++drawn_;
        }
        const bool before = HasPresented();
        BasePlatform::Present(frame, changed);
        // The moment every photo of the Pictures folder is prepared (or refused).
        if (!photosDone_ && gameInstance && gameInstance->photoShelf.Done()) {
            photosDone_ = true;
            std::printf("photos-done %.6f\n", Now());
            std::fflush(stdout);
        }
        if (!before && HasPresented()) {
            // Then the display's set-up, and the window's showing.
            std::printf("first-present %.6f %.6f %.6f %.6f %.6f\n", Now(), openBegin_, openEnd_, showBegin_, showEnd_);
            std::fflush(stdout);
        }
    }
    void PrintStages() const {
        const auto ms = [](uint64_t ns, int n) { return n > 0 ? static_cast<double>(ns) / 1e6 / n : 0.0; };
#if VESK_GL_PRESENT
        std::printf("stages: frames %d shown %d draw %.3f compare %.3f upload+scale+present %.3f ms a frame\n",
                    frames, PresentCount(), ms(drawNs_, drawn_), ms(compareNs, frames), ms(renderNs, frames));
#else
        const PresentTimes& t = Times();
        // On the renderer path "scale" is the texture upload, "update" the
        // renderer's scaling and presenting.
        std::printf("stages: frames %d shown %d whole %d draw %.3f compare %.3f scale %.3f update %.3f ms a frame\n",
                    t.frames, t.updates, t.wholeRepaints, ms(drawNs_, drawn_), ms(t.compareNs, t.frames),
                    ms(t.scaleNs, t.frames), ms(t.updateNs, t.frames));
#endif
        std::fflush(stdout);
    }

private:
    double openBegin_ = 0;
    double openEnd_ = 0;
    double showBegin_ = 0;
    double showEnd_ = 0;
    Clock::time_point frameStart_{};
    uint64_t drawNs_ = 0;
    int drawn_ = 0;
    bool photosDone_ = false;
};

}  // namespace

int main() {
    TimedPlatform platform;
    MixerAudio audio;
    const int status = VeskMain(platform, audio);
    platform.PrintStages();
    return status;
}
