// A sound file as the game loads it, as an effect and as the tune, on SDL's
// dummy audio driver: a RIFF file shorter than its header says is refused,
// and no load, failed or not, leaves a file open once its effect is released.
#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iterator>

#include "fuzz/FuzzFolder.h"
#include "platform/MixerAudio.h"

namespace {

long OpenFiles() {
    return static_cast<long>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                           std::filesystem::directory_iterator()));
}

MixerAudio& Audio() {
    static MixerAudio* audio = [] {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        auto* made = new MixerAudio;  // lives as long as the process
        made->Open();
        if (!made->IsOpen()) std::abort();
        return made;
    }();
    return *audio;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzFolder& folder = FuzzFolder::Instance();
    MixerAudio& audio = Audio();
    const std::string path = folder.File("Fuzz.aud");
    folder.Write("Fuzz.aud", data, size);

    // RIFF, then the size of what follows the first eight bytes (0 and
    // 0xFFFFFFFF: not known).
    bool cutShort = false;
    if (size >= 8 && data[0] == 'R' && data[1] == 'I' && data[2] == 'F' && data[3] == 'F') {
        const uint32_t body = FuzzLe32(data + 4);
        cutShort = body != 0 && body != 0xFFFFFFFFu && size < static_cast<uint64_t>(body) + 8;
    }

    const long before = OpenFiles();
    const int32_t effect = audio.LoadEffect(path);
    FUZZ_RULE(!(cutShort && effect >= 0), "a RIFF file cut short was taken as an effect");
    if (effect >= 0) {
        audio.PlayEffect(effect, 0.0f, 0.0f, 0.0f);
        audio.ReleaseEffect(effect);
    }
    FUZZ_RULE(OpenFiles() == before, "an effect load left %ld file(s) open", OpenFiles() - before);

    const long beforeTune = OpenFiles();
    const int32_t tune = audio.LoadMusic(path);
    FUZZ_RULE(!(cutShort && tune >= 0), "a RIFF file cut short was taken as the tune");
    // A tune that failed holds nothing; the one it replaced is freed first.
    if (tune < 0) FUZZ_RULE(OpenFiles() <= beforeTune, "a failed tune load left a file open");
    return 0;
}
