// Figures, not pass or fail: the time of one frame on the busiest screen, of
// cutting a picture into 36 tiles, of a screen capture, of presenting a frame,
// and from the start of the run to the first frame on screen.
//
// Run from the game folder (make bench): its images are used when they are
// there, else a throw-away folder of test images.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "app/FrameLoop.h"
#include "app/Game.h"
#include "capture/Capture.h"
#include "fakes/FakeAudio.h"
#include "fakes/FakePlatform.h"
#include "fakes/TestFolder.h"
#include "platform/Paths.h"
#include "platform/SdlPlatform.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Stats {
    double median;
    double low;
    double high;
};

Stats Measure(int runs, const std::function<void()>& once) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto begin = Clock::now();
        once();
        times.push_back(Ms(Clock::now() - begin));
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front(), times.back()};
}

void Print(const char* what, const Stats& s) {
    std::printf("%-52s median %8.3f ms   (min %.3f, max %.3f)\n", what, s.median, s.low, s.high);
}

// A sound device that plays nothing but wants its files, as the real one does.
class SilentAudio : public AudioEngine {
public:
    void Open() override {}
    int32_t LoadMusic(const std::string& path) override { return std::filesystem::exists(path) ? 0 : -1; }
    void PlayMusic() override {}
    void StopAll() override {}
    int32_t LoadEffect(const std::string& path) override { return std::filesystem::exists(path) ? next++ : -1; }
    void PlayEffect(int32_t, float, float, float) override {}
    void ReleaseEffect(int32_t) override {}
    void Close() override {}
    int32_t next = 0;
};

// The SDL machine that ends the run right after its first frame is shown.
class FirstFramePlatform : public SdlPlatform {
public:
    Clock::time_point firstShown;
    bool shown = false;
    void Present(const Surface& frame, const std::vector<Rect>& changed) override {
        SdlPlatform::Present(frame, changed);
        if (!shown) {
            firstShown = Clock::now();
            shown = true;
            PostQuit();
        }
    }
};

bool GameFolderHere() { return std::filesystem::exists("Tex/Menu/Exit.Tex"); }

}  // namespace

int main() {
    const bool here = GameFolderHere();
    std::unique_ptr<TestFolder> testFolder;
    if (!here) {
        testFolder = std::make_unique<TestFolder>();
        // The silent device only wants the sound files to be there.
        for (const char* sound : {"BkGnd.mus", "Button.aud", "Tile.aud", "Success.aud"}) {
            std::filesystem::create_directories(testFolder->File("Audio"));
            testFolder->WriteText(std::string("Audio/") + sound, "RIFF");
        }
    }
    std::printf("images: %s\n", here ? "the game folder" : "test images (no game folder here)");
    if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("VESK_NO_MESSAGE_BOX", "1", 1);

    // Start-up to the first frame on screen, in this process.
    {
        FirstFramePlatform platform;
        SilentAudio audio;
        const auto begin = Clock::now();
        const int status = VeskMain(platform, audio);
        if (status == 0 && platform.shown) {
            std::printf("%-52s %8.1f ms\n", "start-up to the first frame shown", Ms(platform.firstShown - begin));
        } else {
            std::printf("start-up to the first frame shown: no frame (status %d)\n", status);
        }
    }

    // Presenting one frame on the SDL machine.
    {
        SdlPlatform platform;
        if (platform.OpenDisplay() == DisplayStep::None) {
            platform.ShowMainWindow();
            // Two frames in turn: a frame already on show is not drawn again.
            Surface frames[2] = {Surface(kScreenWidth, kScreenHeight, 0x1234),
                                 Surface(kScreenWidth, kScreenHeight, 0x4321)};
            int turn = 0;
            int w = 0;
            int h = 0;
            SDL_GetWindowSize(platform.Window(), &w, &h);
            char label[96];
            std::snprintf(label, sizeof label, "Present, %dx%d window", w, h);
            Print(label, Measure(200, [&] { platform.Present(frames[turn++ % 2], kWholeFrame); }));
        }
    }

    // The game on the fakes, its files as above.
    FakePlatform platform;
    platform.keepFrames = false;
    FakeAudio audio;
    Game game(platform, audio);
    game.LoadResources();

    game.gridSize = 6;
    Print("ChoosePicture at 6x6 (cuts 36 tiles)", Measure(15, [&] { game.ChoosePicture(1); }));

    game.screen = ScreenShuffle;
    game.RunFrame();
    platform.cursor = {300, 300};
    Print("RunFrame, ScreenPlaying 6x6 with the sidebar", Measure(300, [&] {
              game.RunFrame();
              platform.now += kFrameMs;
          }));

    game.screen = ScreenPreview;
    Print("RunFrame, ScreenPreview", Measure(300, [&] {
              game.RunFrame();
              platform.now += kFrameMs;
          }));

    // A capture of the shown frame, into a folder of its own.
    char pattern[] = "/tmp/vesk-bench-XXXXXX";
    if (const char* dir = mkdtemp(pattern)) {
        const std::string saved = GameFolder();
        SetGameFolder(dir);
        ResetCaptureCounter();
        Print("CaptureScreen (convert and write 1440054 bytes)",
              Measure(15, [&] { CaptureScreen(*game.primarySurface); }));
        Print("  of which ConvertToDib", Measure(15, [&] { (void)ConvertToDib(*game.primarySurface, 24, kBiRgb); }));
        SetGameFolder(saved);
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    return 0;
}
