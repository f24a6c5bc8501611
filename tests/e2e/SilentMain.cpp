// The game on the SDL machine with a sound device that plays nothing: for the
// end-to-end test where the SDL2_mixer device is not built. It still insists
// on the sound files being there, as the real device does.
#include <filesystem>

#include "app/FrameLoop.h"
#include "platform/SdlPlatform.h"

namespace {

class SilentAudio : public AudioEngine {
public:
    void Open() override {}
    int32_t LoadMusic(const std::string& path) override { return Exists(path) ? 0 : -1; }
    void PlayMusic() override {}
    void StopAll() override {}
    int32_t LoadEffect(const std::string& path) override { return Exists(path) ? next_++ : -1; }
    void PlayEffect(int32_t, float, float, float) override {}
    void ReleaseEffect(int32_t) override {}
    void Close() override {}

private:
    static bool Exists(const std::string& path) {
        std::error_code ec;
        return std::filesystem::is_regular_file(path, ec);
    }
    int32_t next_ = 0;
};

}  // namespace

int main() {
    SdlPlatform platform;
    SilentAudio audio;
    return VeskMain(platform, audio);
}
